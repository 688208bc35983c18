#include "SampleGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

// orvane-gensample [--count N] [--seed S] [--first I] FOLDER
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes sample collector files (one per PC) into FOLDER."));
    parser.addHelpOption();
    const QCommandLineOption countOption(QStringLiteral("count"),
                                         QStringLiteral("Number of PCs (default 20)."),
                                         QStringLiteral("N"), QStringLiteral("20"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Random seed (default 1)."),
                                        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption firstOption(QStringLiteral("first"),
                                         QStringLiteral("Number of the first PC, from 0."),
                                         QStringLiteral("I"), QStringLiteral("0"));
    parser.addOptions({countOption, seedOption, firstOption});
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("Where to write the files."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    SampleGenerator::Options options;
    options.seed = parser.value(seedOption).toUInt();
    SampleGenerator generator(options);
    QString error;
    const qint64 records = generator.writeFolder(parser.positionalArguments().first(),
                                                 parser.value(firstOption).toInt(),
                                                 parser.value(countOption).toInt(), &error);
    if (records < 0) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::fprintf(stderr, "%lld records written\n", static_cast<long long>(records));
    return 0;
}
