#include "Uappli.h"

#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>

namespace {

const QString Invaro = QStringLiteral("Invaro");
const QString Manual = QStringLiteral("手入力");

} // namespace

TFappli::TFappli(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : DetailDialog(QStringLiteral("Fappli"), QStringLiteral("アプリケーション情報"), TableId::Appli,
                   true, paths, parent),
      m_dm(dm)
{
    FieldBinder &b = binder();
    form()->addRow(QStringLiteral("登録日："),
                   b.display(QStringLiteral("AddYMD"), QStringLiteral("AddYMDLBL")));
    addKeyRow();
    QComboBox *kind
        = b.comboBox(QStringLiteral("NyuryokuKBN"), QStringLiteral("NyuryokuKBNCB"), true);
    kind->addItems({Invaro, Manual});
    b.setValidator(QStringLiteral("NyuryokuKBN"),
                   [this](const QVariant &value) { return nyuryokuKbnChanged(value); });
    form()->addRow(QStringLiteral("入力方法："), kind);
    m_appliEDT = b.lineEdit(QStringLiteral("Appli"), QStringLiteral("AppliEDT"));
    form()->addRow(QStringLiteral("アプリケーション名"), m_appliEDT);
    form()->addRow(QStringLiteral("バージョン"),
                   b.lineEdit(QStringLiteral("Ver"), QStringLiteral("VerEDT")));
    m_makerCombo = b.comboBox(QStringLiteral("Maker"), QStringLiteral("MakerCombo"));
    m_makerCombo->setMaxVisibleItems(10);
    form()->addRow(QStringLiteral("メーカー"), m_makerCombo);
    form()->addRow(QStringLiteral("プロダクトID"),
                   b.lineEdit(QStringLiteral("ProductID"), QStringLiteral("ProductIDEDT")));
    form()->addRow(QStringLiteral("ライセンス"),
                   b.lineEdit(QStringLiteral("License"), QStringLiteral("LicenseEDT")));
    form()->addRow(QStringLiteral("インストールキー"),
                   b.lineEdit(QStringLiteral("InstallKey"), QStringLiteral("InstallKeyEDT")));
    form()->addRow(QStringLiteral("備　考"),
                   b.lineEdit(QStringLiteral("Biko"), QStringLiteral("BikoEDT")));
}

void TFappli::stateChanged(RowBuffer::State state)
{
    if (state != RowBuffer::State::Insert)
        return;
    row().setValue(QStringLiteral("NyuryokuKBN"), Manual);
    row().setValue(QStringLiteral("AddYMD"), QDateTime::currentDateTime());
}

void TFappli::formShow()
{
    // The makers of every installation in the store.
    const QString kept = m_makerCombo->currentText();
    m_makerCombo->clear();
    try {
        QSqlQuery q = m_dm.exec(m_dm.dialect().withSqliteNullOrder(
            QStringLiteral("SELECT DISTINCT MAKER FROM APPLI\nORDER BY MAKER")));
        while (q.next())
            m_makerCombo->addItem(q.value(0).toString());
        q.finish();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
    }
    m_makerCombo->setEditText(kept);
    // Back to the designed size, where it stands.
    resize(519, 450);
    m_appliEDT->setFocus();
}

QString TFappli::nyuryokuKbnChanged(const QVariant &value)
{
    const QString text = value.toString();
    if (text != Invaro && text != Manual)
        return QStringLiteral("「Invaro」または「手入力」以外不可");
    row().setValue(QStringLiteral("NyuryokuKBN"), value);
    return QString();
}
