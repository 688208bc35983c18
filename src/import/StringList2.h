#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The field list of one collector record. SplitRecord differs from an
// ordinary CSV reader: blanks inside an unquoted field stay in the field,
// leading blanks and control characters before a field are dropped, a tab
// separates like a comma, and a comma at the very end of a line gives no
// empty last field.
class TStringList2
{
public:
    // Replaces the fields by those of one line.
    //
    // A quoted field that is never closed runs to the end of the line, last
    // character included, so nothing of the line is lost. A NUL character
    // ends the line.
    void SplitRecord(QStringView line);

    qsizetype count() const { return m_fields.size(); }
    bool has(qsizetype index) const { return index >= 0 && index < m_fields.size(); }
    const QString &at(qsizetype index) const { return m_fields.at(index); }
    const QStringList &fields() const { return m_fields; }
    void clear() { m_fields.clear(); }

private:
    QStringList m_fields;
};

// The fields of one line, as a new list.
QStringList SplitRecord(QStringView line);
