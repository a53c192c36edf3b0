// The document writers' figures alone (see Posting.h). A benchmark, not a test: it prints,
// it asserts nothing.
//
//   belmo_posting_bench [--accounts N] [--stock N] [--autocommit]
//     --accounts  current-account entries (default 100000)
//     --stock     stock entries (default 20000)
//     --autocommit  every statement commits on its own instead of one transaction per run
#include "Posting.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({u"accounts"_s, u"Current-account entries."_s, u"N"_s, u"100000"_s});
    parser.addOption({u"stock"_s, u"Stock entries."_s, u"N"_s, u"20000"_s});
    parser.addOption({u"autocommit"_s, u"No transaction around a run."_s});
    parser.process(app);
    return belmo::bench::postingFigures(parser.value(u"accounts"_s).toInt(), parser.value(u"stock"_s).toInt(),
                                         !parser.isSet(u"autocommit"_s)) == 0 ? 0 : 1;
}
