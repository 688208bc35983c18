#include "UreadMe.h"

#include "base/Cp932.h"
#include "base/FileErrorText.h"
#include "kit/MessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString JobTitle = QStringLiteral("お読みください");

} // namespace

TFreadMe::TFreadMe(const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FreadMe"), paths, parent), m_memo(new QPlainTextEdit(contentArea())),
      m_printButton(new QPushButton(QStringLiteral("印刷"), contentArea())),
      m_closeButton(new QPushButton(QStringLiteral("閉じる(&C)"), contentArea()))
{
    setWindowTitle(QStringLiteral("お読みください"));
    resize(640, 480);

    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_printButton->setObjectName(QStringLiteral("PrintBTN"));
    m_printButton->setAutoDefault(false);
    m_closeButton->setObjectName(QStringLiteral("CloseBTN"));
    m_closeButton->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_printButton);
    buttons->addWidget(m_closeButton);

    auto *layout = new QVBoxLayout(contentArea());
    layout->addWidget(m_memo, 1);
    layout->addLayout(buttons);

    connect(m_printButton, &QPushButton::clicked, this, &TFreadMe::PrintBTNClick);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

    loadFile();
}

QString TFreadMe::text() const
{
    return m_memo->toPlainText();
}

void TFreadMe::loadFile()
{
    const QString path = paths().readmePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBoxes::error(this,
                            QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(QDir::toNativeSeparators(path), FileErrorText(file)));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        MessageBoxes::error(this,
                            QStringLiteral("Cannot read file \"%1\". %2")
                                .arg(QDir::toNativeSeparators(path), FileErrorText(file)));
        return;
    }
    m_memo->setPlainText(Cp932::decode(bytes));
}

void TFreadMe::PrintBTNClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(JobTitle);
    // Without an installed printer the text goes to a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(paths().homeDir()).filePath(QStringLiteral("readme.pdf")));
    }
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_memo->document()->print(&printer);
}
