#include "FieldBinder.h"

#include "base/DateText.h"
#include "base/EntryText.h"
#include "base/InputError.h"
#include "ledger/RowBuffer.h"
#include "store/StoreError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

enum Kind { Line, Combo, List, Check, Memo, Display };

void showBox(MessageBoxes::Kind kind, QWidget *parent, const QString &text)
{
    switch (kind) {
    case MessageBoxes::Kind::Plain:
        MessageBoxes::plain(parent, text);
        break;
    case MessageBoxes::Kind::Warning:
        MessageBoxes::warning(parent, text);
        break;
    default:
        MessageBoxes::error(parent, text);
        break;
    }
}

} // namespace

struct FieldBinder::Binding
{
    QString field;
    QPointer<QWidget> widget;
    int kind = Line;
    bool dirty = false;
};

FieldBinder::FieldBinder(RowBuffer &row, QWidget *window)
    : QObject(window), m_row(row), m_window(window)
{
    connect(&m_row, &RowBuffer::valueChanged, this, &FieldBinder::showField);
}

FieldBinder::~FieldBinder() = default;

FieldBinder::Binding &FieldBinder::add(const QString &field, QWidget *widget, int kind)
{
    auto binding = std::make_unique<Binding>();
    binding->field = m_row.def().column(field) ? m_row.def().column(field)->name : field;
    binding->widget = widget;
    binding->kind = kind;
    Binding &b = *binding;
    m_bindings.push_back(std::move(binding));
    show(b);
    return b;
}

QLineEdit *FieldBinder::lineEdit(const QString &field, const QString &objectName)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(objectName);
    Binding &b = add(field, edit, Line);
    connect(edit, &QLineEdit::textEdited, this, [&b] { b.dirty = true; });
    edit->installEventFilter(this);
    return edit;
}

QComboBox *FieldBinder::comboBox(const QString &field, const QString &objectName, bool dropDownList)
{
    auto *combo = new QComboBox;
    combo->setObjectName(objectName);
    combo->setEditable(!dropDownList);
    if (dropDownList) {
        combo->setFocusPolicy(Qt::ClickFocus);
    } else {
        combo->setInsertPolicy(QComboBox::NoInsert);
        // The combo takes the focus events of its line edit.
        combo->installEventFilter(this);
    }
    Binding &b = add(field, combo, dropDownList ? List : Combo);
    if (!dropDownList)
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [&b] { b.dirty = true; });
    // Picking an entry stores it at once.
    connect(combo, &QComboBox::activated, this, [this, &b] {
        if (m_updating)
            return;
        b.dirty = true;
        commitOnLeaving(b);
    });
    return combo;
}

QCheckBox *FieldBinder::checkBox(const QString &field, const QString &caption)
{
    auto *check = new QCheckBox(caption);
    check->setObjectName(field + QStringLiteral("CB"));
    Binding &b = add(field, check, Check);
    connect(check, &QCheckBox::clicked, this, [this, &b](bool on) {
        if (!m_row.isEditing())
            return;
        m_row.setValue(b.field, on ? 1 : 0);
        emit committed(b.field);
    });
    return check;
}

QPlainTextEdit *FieldBinder::memo(const QString &field, const QString &objectName)
{
    auto *memo = new QPlainTextEdit;
    memo->setObjectName(objectName);
    Binding &b = add(field, memo, Memo);
    connect(memo, &QPlainTextEdit::textChanged, this, [this, &b] {
        if (!m_updating)
            b.dirty = true;
    });
    memo->installEventFilter(this);
    return memo;
}

QLabel *FieldBinder::display(const QString &field, const QString &objectName)
{
    auto *label = new QLabel;
    label->setObjectName(objectName);
    add(field, label, Display);
    return label;
}

void FieldBinder::setFormat(const QString &field, QueryRowsModel::Format format)
{
    m_formats.insert(m_row.def().column(field)->name, format);
    showField(m_row.def().column(field)->name);
}

void FieldBinder::setTextHook(const QString &field, TextHook hook)
{
    m_hooks.insert(m_row.def().column(field)->name, std::move(hook));
}

void FieldBinder::setValidator(const QString &field, Validator validator,
                               MessageBoxes::Kind refusalKind)
{
    const QString name = m_row.def().column(field)->name;
    m_validators.insert(name, std::move(validator));
    m_refusalKinds.insert(name, refusalKind);
}

QString FieldBinder::plainText(const QString &field) const
{
    const QVariant v = m_row.value(field);
    if (v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return DateText::shortDate(v.toDate());
    case QMetaType::QDateTime:
        return DateText::shortDateTime(v.toDateTime());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QString FieldBinder::shownText(const QString &field) const
{
    const auto format = m_formats.constFind(field);
    if (format == m_formats.cend())
        return plainText(field);
    return QueryRowsModel::formatted(m_row.value(field), format.value());
}

void FieldBinder::show(Binding &b)
{
    if (!b.widget)
        return;
    const bool focused = b.widget->hasFocus()
        || (b.kind == Combo && static_cast<QComboBox *>(b.widget.data())->lineEdit()->hasFocus());
    const QString text = focused ? plainText(b.field) : shownText(b.field);
    m_updating = true;
    switch (b.kind) {
    case Line: {
        auto *edit = static_cast<QLineEdit *>(b.widget.data());
        edit->setText(text);
        if (!focused)
            edit->setCursorPosition(0); // a long text shows from its start
        break;
    }
    case Combo: {
        auto *combo = static_cast<QComboBox *>(b.widget.data());
        combo->setEditText(text);
        if (!focused)
            combo->lineEdit()->setCursorPosition(0);
        break;
    }
    case List: {
        auto *combo = static_cast<QComboBox *>(b.widget.data());
        combo->setCurrentIndex(combo->findText(text));
        break;
    }
    case Check:
        static_cast<QCheckBox *>(b.widget.data())->setChecked(m_row.value(b.field).toInt() == 1);
        break;
    case Memo:
        static_cast<QPlainTextEdit *>(b.widget.data())->setPlainText(text);
        break;
    case Display:
        static_cast<QLabel *>(b.widget.data())->setText(text);
        break;
    }
    m_updating = false;
}

void FieldBinder::showField(const QString &field)
{
    for (auto &b : m_bindings) {
        if (b->field.compare(field, Qt::CaseInsensitive) == 0 && !b->dirty)
            show(*b);
    }
}

QString FieldBinder::commit(Binding &b, MessageBoxes::Kind &kind)
{
    kind = MessageBoxes::Kind::Error;
    if (!b.dirty || !b.widget)
        return QString();
    if (!m_row.isEditing()) {
        b.dirty = false;
        show(b);
        return QString();
    }
    QString text;
    switch (b.kind) {
    case Line:
        text = static_cast<QLineEdit *>(b.widget.data())->text();
        break;
    case Combo:
    case List:
        text = static_cast<QComboBox *>(b.widget.data())->currentText();
        break;
    case Memo:
        text = static_cast<QPlainTextEdit *>(b.widget.data())->toPlainText();
        break;
    default:
        return QString();
    }
    try {
        // Typed text is stored as CP932 holds it, within the column's width.
        const ColumnDef *column = m_row.def().column(b.field);
        if (column && (column->type == ColumnType::Character || column->type == ColumnType::Memo))
            text = EntryText::checked(caption(b), text,
                                      column->type == ColumnType::Character ? column->width : 0);
        const auto hook = m_hooks.constFind(b.field);
        const QVariant value
            = hook != m_hooks.cend() ? hook.value()(text) : m_row.fromText(b.field, text);
        const auto validator = m_validators.constFind(b.field);
        if (validator != m_validators.cend()) {
            const QString refusal = validator.value()(value);
            if (!refusal.isEmpty()) {
                kind = m_refusalKinds.value(b.field, MessageBoxes::Kind::Error);
                return refusal;
            }
        } else {
            m_row.setValue(b.field, value);
        }
    } catch (const InputError &e) {
        return e.message();
    } catch (const StoreError &e) {
        return e.message();
    }
    b.dirty = false;
    show(b); // the value as stored (cut, normalised)
    emit committed(b.field);
    return QString();
}

QString FieldBinder::caption(const Binding &b) const
{
    // The label that names the control (its buddy is the control or the box
    // holding it), without a closing colon.
    const QList<QLabel *> labels = m_window->findChildren<QLabel *>();
    for (const QLabel *label : labels) {
        const QWidget *buddy = label->buddy();
        if (!buddy || !b.widget || (buddy != b.widget && !buddy->isAncestorOf(b.widget)))
            continue;
        QString text = label->text().remove(u'&').trimmed();
        while (text.endsWith(u':') || text.endsWith(u'：'))
            text.chop(1);
        if (!text.isEmpty())
            return text;
    }
    return b.field;
}

void FieldBinder::commitOnLeaving(Binding &b)
{
    MessageBoxes::Kind kind;
    const QString refusal = commit(b, kind);
    if (!refusal.isEmpty())
        report(b, refusal, kind);
}

void FieldBinder::report(Binding &b, const QString &text, MessageBoxes::Kind kind)
{
    // Shown once the focus change that found it is over, never inside it.
    m_refusalPending = true;
    QPointer<QWidget> widget = b.widget;
    QTimer::singleShot(0, this, [this, widget, text, kind] {
        // Left for Cancel (the window closed, the row discarded): no more to
        // say.
        if (!m_window->isVisible() || !m_row.isEditing()) {
            m_refusalPending = false;
            return;
        }
        showBox(kind, m_window, text);
        m_refusalPending = false;
        // Back to the window and into the refused text (the window is made
        // active again for desktops that do not do it themselves).
        m_window->window()->activateWindow();
        if (widget)
            widget->setFocus();
    });
}

bool FieldBinder::commitAll()
{
    if (m_refusalPending)
        return false;
    for (auto &b : m_bindings) {
        MessageBoxes::Kind kind;
        const QString refusal = commit(*b, kind);
        if (!refusal.isEmpty()) {
            showBox(kind, m_window, refusal);
            m_window->window()->activateWindow();
            if (b->widget)
                b->widget->setFocus();
            return false;
        }
    }
    return true;
}

bool FieldBinder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return QObject::eventFilter(watched, event);
    for (auto &b : m_bindings) {
        QWidget *w = b->widget;
        if (!w)
            continue;
        const bool match = w == watched
            || (b->kind == Combo && static_cast<QComboBox *>(w)->lineEdit() == watched);
        if (!match)
            continue;
        if (event->type() == QEvent::FocusIn) {
            if (!b->dirty && m_formats.contains(b->field))
                show(*b); // the plain value to edit
        } else {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            // Another window (a message box, a list's popup) taking the focus
            // is no leaving.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                if (b->dirty)
                    commitOnLeaving(*b);
                else if (m_formats.contains(b->field))
                    show(*b);
            }
        }
        break;
    }
    return QObject::eventFilter(watched, event);
}
