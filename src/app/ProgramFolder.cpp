#include "app/ProgramFolder.h"

#include "app/MainAccounts.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/JetFunctions.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace belmo::app {

ProgramFolder::ProgramFolder(const QString& root) : root_(root)
{
    if (root_.size() > 1 && root_.endsWith(u'/')) root_.chop(1);
}

QString ProgramFolder::configPath() const { return root_ + QStringLiteral("/config.mdb"); }
QString ProgramFolder::companiesPath() const { return root_ + QStringLiteral("/MUHASEBE"); }
QString ProgramFolder::imagesPath() const { return root_ + QStringLiteral("/images"); }
QString ProgramFolder::companyPath(const QString& code) const { return companiesPath() + u'/' + code + QStringLiteral(".mdb"); }

QString ProgramFolder::configConnection() const
{
    return db::ConnectionString::forJetFile(configPath(), db::schema::databasePassword());
}

QString ProgramFolder::companyConnection(const QString& code) const
{
    return db::ConnectionString::forJetFile(companyPath(code), db::schema::databasePassword());
}

bool ProgramFolder::ensureDataFolders() const
{
    return makePrivateFolder(companiesPath()) && makePrivateFolder(imagesPath());
}

ProgramFolder::CompanyFile ProgramFolder::findCompany(const QString& code) const
{
    const QString name = code + QStringLiteral(".mdb");
    const QByteArray folded = name.toUtf8();
    CompanyFile found{CompanyFile::State::Missing, companyPath(code), {}};
    for (const QString& entry : QDir(companiesPath()).entryList(QDir::Files, QDir::Name))
        if (db::jet::compareText(entry.toUtf8(), folded) == 0) found.likeNamed << entry;
    if (found.likeNamed.size() > 1) found.state = CompanyFile::State::Ambiguous;
    else if (found.likeNamed.size() == 1)
        found.state = found.likeNamed.first() == name ? CompanyFile::State::Found : CompanyFile::State::OtherCase;
    return found;
}

QString ProgramFolder::CompanyFile::problem() const
{
    switch (state) {
    case State::Found: return {};
    case State::Missing: return path + QStringLiteral(": file not found");
    case State::OtherCase:
        return path + QStringLiteral(": file not found; MUHASEBE holds %1, whose name differs from it in case only")
                          .arg(likeNamed.first());
    case State::Ambiguous:
        return path + QStringLiteral(": MUHASEBE holds %1, whose names differ in case only: which one is the company "
                                     "cannot be told")
                          .arg(likeNamed.join(QStringLiteral(", ")));
    }
    return {};
}

bool makePrivateFolder(const QString& path)
{
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (info.isDir()) return true;
    const QString parent = info.path();
    if (parent == info.filePath() || !makePrivateFolder(parent)) return false;
    return ::mkdir(QFile::encodeName(info.filePath()).constData(), db::schema::kPrivateFolderMode) == 0 ||
           QFileInfo(info.filePath()).isDir();
}

bool isPlainCompanyCode(const QString& code)
{
    return db::isPlainCode(code);
}

QString companyCodeProblem(const QString& code)
{
    if (code.isEmpty()) return QStringLiteral("the company code is empty");
    if (!isPlainCompanyCode(code))
        return QStringLiteral("the company code '%1' is not a plain code (use letters, digits, '_' and '-', "
                              "at most 50 characters)")
            .arg(code);
    return {};
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void createCompanyFile(const QString& path, const NewCompany& company)
{
    db::schema::createDatabaseFile(path, db::schema::companyTables(), db::schema::databasePassword());
    db::ConnectionPool pool;
    db::Connection con(pool);
    con.open(db::ConnectionString::forJetFile(path, db::schema::databasePassword()));
    writeNewCompany(con, company);
}

void writeNewCompany(db::Connection& con, const NewCompany& company)
{
    db::TransactionScope tx(con);
    con.execute(QStringLiteral("INSERT INTO SIRKET (SIRKETCODE, SIRKETAD, DONEM, AKTIVE, Ftr_Bas, Fis_Bas, "
                               "BaForm_Lmt, BsForm_Lmt) VALUES (?, ?, ?, 1, 1, 1, 8000, 8000)"),
                {company.code, company.name.isEmpty() ? company.code : company.name,
                 company.period.isEmpty() ? db::Value::null() : db::Value(company.period)});
    con.execute(QStringLiteral("INSERT INTO PARATANIM (TUTARKURUS, FIYATKURUS, DVZ1TUTARKURUS, DVZ1FIYATKURUS, "
                               "DVZ2TUTARKURUS, DVZ2FIYATKURUS, MIKTARKSR, PARABIRIM, DVZ1BIRIM, DVZ2BIRIM, "
                               "Shw_Dvz1, Shw_Dvz2) VALUES (2, 4, 2, 4, 2, 4, 4, 'TL', 'USD', 'EURO', 0, 0)"));
    for (const MainAccount& a : mainAccounts())
        con.execute(QStringLiteral("INSERT INTO Ana_Hesaplar (Ana_Hs, Hesap_Adi) VALUES (?, ?)"),
                    {a.number, QString::fromUtf8(a.name)});
    tx.commit();
}

QString prepareCompany(const ProgramFolder& folder, const NewCompany& company, bool replace)
{
    if (const QString problem = companyCodeProblem(company.code); !problem.isEmpty())
        throw db::DbError(db::err::InvalidCall, problem);
    const QString path = newCompanyPath(folder, company.code, replace);
    db::schema::PendingFile pending(path);
    createCompanyFile(pending.workPath(), company);
    return pending.commit(replace);
}

QString newCompanyPath(const ProgramFolder& folder, const QString& code, bool replace)
{
    const QString path = folder.companyPath(code);
    if (!replace && QFileInfo::exists(path))
        throw db::DbError(db::err::Unspecified, QStringLiteral("'%1' already exists; it is left as it is.").arg(path));
    // A file whose name differs from another's in case only would make the code name no single file.
    QStringList others = folder.findCompany(code).likeNamed;
    others.removeAll(QFileInfo(path).fileName());
    if (!others.isEmpty())
        throw db::DbError(db::err::Unspecified, QStringLiteral("'%1' is not made: MUHASEBE holds %2, whose name differs from it "
                                                               "in case only.").arg(path, others.join(QStringLiteral(", "))));
    return path;
}

}  // namespace belmo::app
