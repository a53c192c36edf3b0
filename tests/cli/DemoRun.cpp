#include "DemoRun.h"

#include "app/ProgramFolder.h"

#include "cli/Cli.h"
#include "db/ConnectionString.h"
#include "db/Schema.h"
#include "demo/Demo.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

namespace {

// The run's output, told to a listener as it is written.
struct Output : QIODevice {
    std::function<void(const QString&)> listener;
    QByteArray written;
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        written.append(data, size);
        if (listener) listener(QString::fromUtf8(data, size));
        return size;
    }
};

// What a command writes to its two streams, and its exit code.
RunResult capture(const std::function<int(QTextStream&, QTextStream&)>& command, std::function<void(const QString&)> onOutput)
{
    Output out;
    out.listener = std::move(onOutput);
    out.open(QIODevice::WriteOnly);
    QString err;
    QTextStream o(&out), e(&err);
    const int code = command(o, e);
    o.flush();
    e.flush();
    return {code, QString::fromUtf8(out.written), err};
}

}  // namespace

RunResult belmoRun(const QStringList& args, const console::StepRegistry* steps, std::function<void(const QString&)> onOutput)
{
    return capture(
        [&](QTextStream& o, QTextStream& e) {
            return steps ? cli::runTransfers(args, o, e, *steps) : cli::run(QStringList{u"run"_s} + args, o, e);
        },
        std::move(onOutput));
}

RunResult belmo(const QStringList& args)
{
    return capture([&](QTextStream& o, QTextStream& e) { return cli::run(args, o, e); }, {});
}

DemoRun::DemoRun() { demo::createDemoFolder(folder_.path(), demo::Size::Small, false, [](const QString&) {}); }

QStringList DemoRun::login(const QString& password) const
{
    return {u"--folder"_s, folder_.path(), u"--user"_s, u"MUHASEBE"_s, u"--password"_s, password,
            u"--source"_s, u"DEMO2025"_s, u"--target"_s, u"DEMO2026"_s};
}

QString DemoRun::companyPath(const QString& code) const { return app::ProgramFolder(folder_.path()).companyPath(code); }

void DemoRun::openCompany(db::Connection& con, const QString& code) const
{
    con.open(db::ConnectionString::forJetFile(companyPath(code), db::schema::databasePassword()));
}

QString DemoRun::cell(const QString& code, const QString& sql)
{
    db::Connection con(reader.pool());
    openCompany(con, code);
    return reader.rows(con, sql).value(0).value(0);
}

QList<QStringList> DemoRun::targetTables()
{
    db::Connection target(reader.pool());
    openCompany(target, u"DEMO2026"_s);
    QList<QStringList> all;
    for (const QString& table : {u"SIRKET"_s, u"PARATANIM"_s, u"Evr"_s, u"BRM"_s, u"Dzyn"_s, u"islem"_s, u"Evrak_Turu"_s,
                                 u"Gruplar"_s, u"Depo"_s, u"Diger_Hs"_s, u"Plasiyer"_s}) {
        all << QStringList{table};
        all << reader.rows(target, u"Select * from "_s + table);
    }
    return all;
}

}  // namespace belmo::test
