#include "LoginDialog.h"

#include "PasswordEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoginDialog::LoginDialog(QWidget *parent)
    : QDialog(parent), m_store(new QLabel(this)), m_user(new QLineEdit(this)),
      m_password(new PasswordEdit(this))
{
    setWindowTitle(QStringLiteral("ログイン"));
    m_store->setObjectName(QStringLiteral("StoreLBL"));
    m_user->setObjectName(QStringLiteral("UserEDT"));
    m_password->setObjectName(QStringLiteral("PassEDT"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("ユーザ名"), m_user);
    form->addRow(QStringLiteral("パスワード"), m_password);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkBTN"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelBTN"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_store);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void LoginDialog::setStore(const StoreSettings &store)
{
    m_store->setText(QStringLiteral("サーバー %1（ポート %2）のデータベース %3 に接続します。")
                         .arg(store.host)
                         .arg(store.port)
                         .arg(store.database));
}

QString LoginDialog::storeText() const
{
    return m_store->text();
}

void LoginDialog::setUser(const QString &user)
{
    m_user->setText(user);
    if (!user.isEmpty())
        m_password->setFocus();
}

QString LoginDialog::user() const
{
    return m_user->text();
}

QString LoginDialog::password() const
{
    return m_password->text();
}

bool LoginDialog::ask(QWidget *parent, const StoreSettings &store, QString &user, QString &password)
{
    LoginDialog dialog(parent);
    dialog.setStore(store);
    dialog.setUser(user);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    user = dialog.user();
    password = dialog.password();
    return true;
}
