#pragma once

#include "kit/MessageBoxes.h"
#include "views/QueryRowsModel.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class RowBuffer;

// The controls of an edit window bound to the fields of its row: each shows
// its field's value, and what the user types is stored when the user leaves
// the control (Enter or Tab included), picks from a list, or presses OK.
// A text the field refuses is reported in a message box; the typed text
// stays, the focus goes back to it and the field keeps its value.
//
// Text fields take what EntryText allows: CP932 twins in place of their
// characters, no other character that CP932 lacks, no more bytes than the
// column's width. The messages name the control by its label (a QLabel
// whose buddy is the control or the box holding it), else by its field.
class FieldBinder : public QObject
{
    Q_OBJECT

public:
    // The value of typed text; throws InputError with the message to show.
    using TextHook = std::function<QVariant(const QString &text)>;
    // Stores a new value itself; returns the refusal message, or the empty
    // text when it took the value.
    using Validator = std::function<QString(const QVariant &value)>;

    FieldBinder(RowBuffer &row, QWidget *window);
    ~FieldBinder() override;

    QLineEdit *lineEdit(const QString &field, const QString &objectName = QString());
    // An editable combo, or a drop-down list (dropDownList) that offers only
    // its entries and stays out of the tab order.
    QComboBox *comboBox(const QString &field, const QString &objectName, bool dropDownList = false);
    // Checked for 1, unchecked for anything else; stores 1 or 0.
    QCheckBox *checkBox(const QString &field, const QString &caption);
    QPlainTextEdit *memo(const QString &field, const QString &objectName);
    // The value shown, not edited.
    QLabel *display(const QString &field, const QString &objectName);

    // The form in which a control shows its value while the user is not in
    // it (in it, the plain value is edited).
    void setFormat(const QString &field, QueryRowsModel::Format format);
    void setTextHook(const QString &field, TextHook hook);
    void setValidator(const QString &field, Validator validator,
                      MessageBoxes::Kind refusalKind = MessageBoxes::Kind::Error);

    // At OK: stores the text of every control changed and not yet taken.
    // False when a field refuses one (reported, focus there).
    bool commitAll();

signals:
    // The user stored a new value into the field.
    void committed(const QString &field);

private:
    struct Binding;

    Binding &add(const QString &field, QWidget *widget, int kind);
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Stores the binding's text; the refusal message, or empty.
    QString commit(Binding &binding, MessageBoxes::Kind &kind);
    void commitOnLeaving(Binding &binding);
    QString caption(const Binding &binding) const;
    void report(Binding &binding, const QString &text, MessageBoxes::Kind kind);
    void show(Binding &binding);
    void showField(const QString &field);
    QString plainText(const QString &field) const;
    QString shownText(const QString &field) const;

    RowBuffer &m_row;
    QWidget *m_window;
    std::vector<std::unique_ptr<Binding>> m_bindings;
    QHash<QString, QueryRowsModel::Format> m_formats;
    QHash<QString, TextHook> m_hooks;
    QHash<QString, Validator> m_validators;
    QHash<QString, MessageBoxes::Kind> m_refusalKinds;
    bool m_updating = false;
    bool m_refusalPending = false;
};
