#pragma once

#include <QValidator>

class QLineEdit;

// A one-line field never holds a line break: each one typed or pasted (CR LF, CR, LF, U+2028,
// U+2029) becomes one blank as it comes in, so that no value can spill over the lines of the
// side files or the tables.
class SingleLineText : public QValidator
{
    Q_OBJECT

public:
    explicit SingleLineText(QObject *parent = nullptr);

    // Gives `edit` a validator of this kind, owned by the edit.
    static void install(QLineEdit *edit);

    State validate(QString &input, int &pos) const override;
};
