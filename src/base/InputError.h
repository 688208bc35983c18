#pragma once

#include <QString>
#include <stdexcept>

// A value the user typed that a field cannot take. The message is the text
// the window shows in its error box.
class InputError : public std::runtime_error
{
public:
    explicit InputError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    { }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A typed date that is too short to be one ("abcは日付ではありません").
class DateError : public InputError
{
public:
    using InputError::InputError;
};

// A typed text that does not convert to the field's type.
class ConversionError : public InputError
{
public:
    using InputError::InputError;
};

// The fixed texts of refused field values and posts.
namespace FieldErrorText {

// "'%s' は日付または時刻ではありません"
QString notDate(const QString &text);
// "'%s' は項目 '%s' に適した整数値ではありません"
QString notInteger(const QString &text, const QString &field);
// "'%s' は項目 '%s' に適した浮動小数点数値ではありません"
QString notFloat(const QString &text, const QString &field);
// "項目 '%s' の値が必要です"
QString required(const QString &field);
// "Duplicate key found in the index '%s' of the table '%s'"
QString duplicateKey(const QString &index, const QString &table);

} // namespace FieldErrorText
