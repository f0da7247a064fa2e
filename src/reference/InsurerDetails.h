#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The household's insurer details: four values of the national health insurance kept in
// talosoc.inf and five of the mutual insurer kept in mutuelle.inf, one per line in a fixed
// order. A file that exists but cannot be read at load time is never rewritten afterwards, so
// that details stored there are not replaced by the empty values shown in its place.
class InsurerDetails
{
public:
    enum class File { Social, Mutual };

    static QString fileName(File file);
    static int lineCount(File file);

    InsurerDetails();

    // Always lineCount(file) values, in line order.
    QStringList values(File file) const;
    // Missing values become empty, values beyond the count are ignored.
    void setValues(File file, const QStringList &values);

    // True when the file could not be read by load(): save() leaves it alone.
    bool isKept(File file) const;

    // Reads both files from `programDir`, names matched without regard to case. A missing file
    // leaves its values empty, silently; a shorter file fills the values it has; lines beyond
    // the count are ignored. A file that cannot be read leaves its values empty and is kept.
    // Returns the French messages of the files that could not be read.
    QStringList load(const QString &programDir);

    // Rewrites talosoc.inf, then mutuelle.inf, in `programDir` (a kept file is skipped), each
    // value on its own line ended by CR LF. A line break inside a value is written as a blank,
    // so that a value never spills onto the next line. Both files are attempted; throws
    // PlatformError with the messages of those that failed, each left as it was.
    void save(const QString &programDir) const;

private:
    static int slot(File file) { return file == File::Social ? 0 : 1; }

    std::array<QStringList, 2> values_;
    std::array<bool, 2> kept_{false, false};
};
