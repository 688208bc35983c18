#include "UDBSetting.h"

#include "PasswordEdit.h"
#include "kit/MessageBoxes.h"
#include "store/ConnectionReason.h"
#include "store/StoreRights.h"
#include "store/StoreConnection.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

QRadioButton *boldRadio(const QString &caption, const QString &name, QWidget *parent)
{
    auto *radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    QFont font = radio->font();
    font.setBold(true);
    radio->setFont(font);
    return radio;
}

QLineEdit *edit(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

} // namespace

TFDBSetting::TFDBSetting(TDMdata &dm, DbSettings &mainSettings, const ProgramPaths &paths,
                         QWidget *parent)
    : TForm1(QStringLiteral("FDBSetting"), paths, parent), m_dm(dm), m_mainSettings(mainSettings)
{
    setWindowTitle(QStringLiteral("データベース接続"));
    setResizable(false);

    QWidget *area = contentArea();
    auto *heading = new QLabel(QStringLiteral("接続先"), area);

    m_localRB = boldRadio(QStringLiteral("ローカル（このコンピュータ）"), QStringLiteral("LocalRB"),
                          area);
    auto *localGroup = new QGroupBox(QStringLiteral("ローカル設定"), area);
    m_folderEDT = edit(QStringLiteral("FolderEDT"), localGroup);
    m_folderEDT->setMinimumWidth(300);
    m_folderBTN = new QPushButton(QStringLiteral("..."), localGroup);
    m_folderBTN->setObjectName(QStringLiteral("FolderBTN"));
    m_folderBTN->setAutoDefault(false);
    m_folderBTN->setFixedWidth(32);
    auto *localLayout = new QVBoxLayout(localGroup);
    localLayout->addWidget(new QLabel(QStringLiteral("データベースフォルダ"), localGroup));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderEDT, 1);
    folderRow->addWidget(m_folderBTN);
    localLayout->addLayout(folderRow);

    m_serverRB = boldRadio(QStringLiteral("サーバー"), QStringLiteral("ServerRB"), area);
    auto *serverGroup = new QGroupBox(QStringLiteral("サーバー設定"), area);
    m_ipEDT = edit(QStringLiteral("IPEDT"), serverGroup);
    m_portEDT = edit(QStringLiteral("PortEDT"), serverGroup);
    m_dbNameEDT = edit(QStringLiteral("DBNameEDT"), serverGroup);
    m_userEDT = edit(QStringLiteral("UserEDT"), serverGroup);
    m_passEDT = new PasswordEdit(serverGroup);
    m_passEDT->setObjectName(QStringLiteral("PassEDT"));
    auto *serverLayout = new QGridLayout(serverGroup);
    int row = 0;
    auto addRow = [&](const QString &caption, QLineEdit *box, const QString &note) {
        serverLayout->addWidget(new QLabel(caption, serverGroup), row, 0);
        serverLayout->addWidget(box, row, 1);
        if (!note.isEmpty())
            serverLayout->addWidget(new QLabel(note, serverGroup), row, 2);
        ++row;
    };
    addRow(QStringLiteral("IPアドレス"), m_ipEDT, QString());
    addRow(QStringLiteral("ポート"), m_portEDT, QStringLiteral("デフォルトは12005"));
    addRow(QStringLiteral("DB名"), m_dbNameEDT, QString());
    addRow(QStringLiteral("ユーザ名"), m_userEDT,
           QStringLiteral("省略するとオープン時に\nログイン画面が開きます"));
    addRow(QStringLiteral("パスワード"), m_passEDT, QString());

    m_connectBTN = new QPushButton(QStringLiteral("接続"), area);
    m_connectBTN->setObjectName(QStringLiteral("ConnectBTN"));
    m_connectBTN->setDefault(true);
    m_cancelBTN = new QPushButton(QStringLiteral("キャンセル"), area);
    m_cancelBTN->setObjectName(QStringLiteral("CancelBTN"));
    m_cancelBTN->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_connectBTN);
    buttons->addWidget(m_cancelBTN);

    auto *layout = new QVBoxLayout(area);
    layout->addWidget(heading);
    layout->addWidget(m_localRB);
    layout->addWidget(localGroup);
    layout->addWidget(m_serverRB);
    layout->addWidget(serverGroup);
    layout->addLayout(buttons);

    connect(m_localRB, &QRadioButton::toggled, this, &TFDBSetting::applyEnabling);
    connect(m_folderBTN, &QPushButton::clicked, this, &TFDBSetting::FolderBTNClick);
    connect(m_connectBTN, &QPushButton::clicked, this, &TFDBSetting::ConnectBTNClick);
    connect(m_cancelBTN, &QPushButton::clicked, this, &QDialog::reject);

    fillFromSettings();
}

void TFDBSetting::fillFromSettings()
{
    const bool local = m_mainSettings.isLocal();
    m_localRB->setChecked(local);
    m_serverRB->setChecked(!local);
    applyEnabling();
    m_folderEDT->setText(m_mainSettings.folder);
    m_ipEDT->setText(m_mainSettings.ip);
    m_portEDT->setText(QString::number(m_mainSettings.port));
    m_userEDT->setText(m_mainSettings.user);
    m_passEDT->setText(m_mainSettings.pass);
    m_dbNameEDT->setText(m_mainSettings.name);
}

void TFDBSetting::applyEnabling()
{
    const bool local = m_localRB->isChecked();
    m_folderEDT->setEnabled(local);
    for (QLineEdit *box : {m_ipEDT, m_portEDT, m_dbNameEDT, m_userEDT, m_passEDT})
        box->setEnabled(!local);
}

void TFDBSetting::FolderBTNClick()
{
    QString start = m_folderEDT->text();
    if (start.isEmpty() || !QDir(start).exists())
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("データベースフォルダを指定してください"), start);
    if (!folder.isEmpty())
        m_folderEDT->setText(QDir::toNativeSeparators(folder));
}

void TFDBSetting::ConnectBTNClick()
{
    const bool wasOpen = m_dm.isConnected();
    const StoreSettings previous = m_dm.connectedSettings();
    if (m_dm.isConnected())
        m_dm.close();

    StoreSettings settings = m_dm.settings();
    if (m_localRB->isChecked()) {
        settings.mode = StoreSettings::Mode::Local;
        settings.folder = m_folderEDT->text();
    } else {
        settings.mode = StoreSettings::Mode::Remote;
        settings.host = m_ipEDT->text();
        bool isNumber = false;
        const int port = m_portEDT->text().toInt(&isNumber);
        if (!isNumber) {
            // The store stays closed until a later attempt connects.
            MessageBoxes::error(this,
                                QStringLiteral("'%1' は整数ではありません").arg(m_portEDT->text()));
            return;
        }
        settings.port = port;
        settings.user = m_userEDT->text();
        settings.password = m_passEDT->text();
        settings.database = m_dbNameEDT->text();
    }
    m_dm.setSettings(settings);

    // The fixed text, and the reason on a second line.
    const QString failed = QStringLiteral("データベースへの接続に失敗しました\n");
    try {
        m_dm.open();
        // A login that may not use the tables cannot keep the ledger.
        const QString missing = StoreRights::missingRights(m_dm);
        if (!missing.isEmpty()) {
            MessageBoxes::error(this, failed + missing);
            reopenPrevious(previous, wasOpen);
            return;
        }
    } catch (const StoreError &e) {
        MessageBoxes::error(this, failed + ConnectionReason::of(settings, e.message()));
        reopenPrevious(previous, wasOpen);
        return;
    }
    m_mainSettings = StoreConnection::fromStoreSettings(settings);
    accept();
}

void TFDBSetting::reopenPrevious(const StoreSettings &previous, bool wasOpen)
{
    if (m_dm.isConnected())
        m_dm.close();
    StoreSettings settings = StoreConnection::toStoreSettings(m_mainSettings);
    const bool asks = settings.mode == StoreSettings::Mode::Remote && settings.user.isEmpty();
    if (asks && wasOpen) {
        // The store just left opens with the login it had.
        settings.user = previous.user;
        settings.password = previous.password;
    }
    m_dm.setSettings(settings);
    // One that was not open stays so: the user is not asked to log in to
    // a store that was not asked for.
    if (asks && !wasOpen)
        return;
    try {
        m_dm.open();
    } catch (const StoreError &error) {
        MessageBoxes::error(this, error.message());
    }
}
