#pragma once

#include <QString>

// The kind of act a care entry is, as the law's withholdings see it, told from the speciality
// typed with it: medicine boxes and paramedical acts and transports carry a franchise, a
// dentist's or a midwife's acts nothing, every other act (a doctor's consultation, an X-ray, a
// laboratory's tests) a participation.
enum class CareAct { Consultation, Paramedical, Medicine, Transport, Unwithheld };

namespace CareActs
{
// Read from ASCII words inside the speciality, case folded the ASCII way only, so that the
// SQL reading below gives exactly the same kind for every text.
CareAct of(const QString &speciality);
// The same reading over an SQL expression holding the speciality: a CASE giving 0 to 4 in
// the order of the enum.
QString sqlOf(const QString &speciality);
} // namespace CareActs
