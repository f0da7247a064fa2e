#pragma once

#include <QChar>
#include <QList>
#include <QString>

// An edit mask in the classic three-part notation "mask;save;blank", for the digit fields of the
// program (dates typed as text, postal code, telephone, insurance number).
//
// In the mask, "0" is a required digit, "9" an optional digit (a blank is allowed), "\" makes the
// next character a literal, "!" puts the missing digits of a short group at its front ("5/3/24"
// shows as "_5/_3/24"), and any other character is a literal. "save" is "0" when literals are
// left out of the stored value, anything else (or nothing) when they are kept; "blank" is the
// character shown in an unfilled position ("_" when not given).
//
// Only digit positions are supported: a mask using the letter, character, case or space
// directives of the notation (L l A a C c # > < _), a trailing "\" or a digit as the blank
// character is invalid and behaves as no mask at all.
//
// The stored value keeps every position in place: with literals saved an unfilled optional
// position becomes a space (" 5/ 3/24"), without them the digits follow one another and trailing
// blanks are dropped ("1234567890123" for an insurance number without its key). Leading blanks
// are never trimmed, because the value would no longer line up with the mask when read back.
class EditMask
{
public:
    // No mask: every text is accepted as it stands.
    EditMask() = default;
    explicit EditMask(const QString &mask);

    const QString &source() const { return source_; }
    bool isValid() const { return valid_; }
    // True when there is nothing to enforce (no mask, or an invalid one).
    bool isEmpty() const { return positions_.isEmpty(); }

    int positionCount() const { return int(positions_.size()); }
    bool isLiteral(int position) const;
    bool isRequired(int position) const;
    // The literal character at a literal position; a null character elsewhere.
    QChar literalAt(int position) const;
    QChar blank() const { return blank_; }
    bool savesLiterals() const { return saveLiterals_; }
    bool keepsLeadingBlanks() const { return leadingBlanks_; }
    // The longest value the mask can store (data positions, plus literals when they are saved).
    int maxStoredLength() const;

    // Data positions around a caret: the first at or after `from`, the last before `before`;
    // -1 when there is none.
    int nextDataPosition(int from) const;
    int previousDataPosition(int before) const;

    // The edit text of an empty field: blanks and literals.
    QString blankText() const;
    // `text` as an edit text of exactly positionCount() characters with the mask's literals in
    // place: missing positions become blanks, extra characters are dropped.
    QString normalised(const QString &text) const;

    // The edit text for a stored value. A value laid out as the mask ("12/03/24", " 5/ 3/24",
    // "01-23-45-67-89") is shown position by position; a value whose groups are shorter
    // ("5/3/24") has each group aligned (to the right with "!"); a value without the literals
    // ("123456789012345") fills the data positions from the left.
    QString displayText(const QString &value) const;
    // The value to store for an edit text; "" when every data position is blank.
    QString storedValue(const QString &editText) const;
    // Every required position holds a digit and every optional one a digit or a blank, or the
    // whole edit is blank (an empty field).
    bool isComplete(const QString &editText) const;
    bool isBlank(const QString &editText) const;
    // A stored value as a grid shows it: through the mask, blanks as spaces, trailing spaces
    // dropped; "" for an empty value.
    QString formatForDisplay(const QString &value) const;

    static bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
    // A character that stands for an unfilled position in an edit text.
    bool isBlankChar(QChar c) const { return c == blank_ || c == QLatin1Char(' '); }

private:
    enum class Kind { Literal, Required, Optional };
    struct Position {
        Kind kind;
        QChar literal;
    };

    bool parse(const QString &mask);
    bool layOut(const QString &value, QString &text) const;
    bool fillByGroups(const QString &value, QString &text) const;
    void fillInOrder(const QString &value, QString &text) const;

    QString source_;
    QList<Position> positions_;
    QChar blank_ = QLatin1Char('_');
    bool saveLiterals_ = true;
    bool leadingBlanks_ = false;
    bool valid_ = true;
};
