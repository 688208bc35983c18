#include "VersionDialog.h"

#include "base/OrvaneVersion.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

VersionDialog::VersionDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto *product = new QLabel(QStringLiteral("Orvane"), this);
    product->setObjectName(QStringLiteral("ProductLBL"));
    QFont productFont = product->font();
    productFont.setPointSize(productFont.pointSize() * 2);
    productFont.setBold(true);
    product->setFont(productFont);

    auto *version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("VersionLBL"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkBTN"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    buttonRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 16);
    layout->setSpacing(12);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString VersionDialog::versionText()
{
    return QStringLiteral("Version " ORVANE_VERSION);
}
