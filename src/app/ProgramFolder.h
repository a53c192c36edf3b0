#pragma once

#include <QString>
#include <QStringList>

namespace belmo::db {
class Connection;
class ConnectionPool;
}

namespace belmo::app {

// The program folder and the places the system keeps its files in: config.mdb beside the
// program, one company database per company code in MUHASEBE, pictures in images.
// Paths are built with '/'.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& root);  // one trailing '/' is dropped

    const QString& root() const { return root_; }
    QString configPath() const;
    QString companiesPath() const;
    QString imagesPath() const;
    QString companyPath(const QString& code) const;

    // Connection strings in the form the login builds them (AyarBag, KaynakBag, HedefBag).
    QString configConnection() const;
    QString companyConnection(const QString& code) const;

    // Creates MUHASEBE and images when missing, with no right for other users; false when a
    // folder cannot be made.
    bool ensureDataFolders() const;

    // The file of a company code in MUHASEBE. A company's file is named by its code exactly.
    // The package's home platform does not tell names apart by case, so names that differ only
    // in case (the Turkish İ, i, I and ı as one letter) stand for one company: when MUHASEBE
    // holds more than one of them, none can be told for the company; when it holds one in
    // another case only, that is not the file the code names.
    struct CompanyFile {
        enum class State { Found, Missing, OtherCase, Ambiguous };
        State state;
        QString path;          // MUHASEBE/<code>.mdb
        QStringList likeNamed;  // the names in MUHASEBE that differ from it in case only, it included
        // Empty when found, else what is wrong, naming the files.
        QString problem() const;
    };
    CompanyFile findCompany(const QString& code) const;

private:
    QString root_;
};

// A company code becomes a file name and a part of a connection string, so it must be a
// plain code: letters (Turkish ones too), digits, '_' and '-', at most 50 characters. The
// login and init-company check codes by this one rule.
bool isPlainCompanyCode(const QString& code);
// Empty when the code is plain, else the reason, for the command line.
QString companyCodeProblem(const QString& code);

// Makes the folder and any missing folder above it with no right for other users (the umask
// may take more); true when the folder is there.
bool makePrivateFolder(const QString& path);

// True when both paths lead to one file: the same file reached by another spelling, a
// symbolic link or a hard link.
bool sameFile(const QString& a, const QString& b);

// What a new, empty company database holds before anything is carried into it: the tables,
// the company row with its code and period, the money settings and the chart of main
// accounts. Written under a working name and put in place when complete; never replaces an
// existing company unless told to.
struct NewCompany {
    QString code;
    QString name;    // SIRKETAD; the code when empty
    QString period;  // DONEM (a year as text); may be empty
};
// Returns the name an existing company was kept under when it was replaced, else empty.
QString prepareCompany(const ProgramFolder& folder, const NewCompany& company, bool replace = false);
// The same content written into a new file at path (a working file the caller puts in place).
void createCompanyFile(const QString& path, const NewCompany& company);
// The same content written through an open connection to a new company database's empty
// tables, on either engine, in one transaction.
void writeNewCompany(db::Connection& con, const NewCompany& company);
// The file a new company of this code is to be put in place as; throws DbError when an
// existing one may not be replaced, or when another file's name differs from it in case only.
QString newCompanyPath(const ProgramFolder& folder, const QString& code, bool replace);

}  // namespace belmo::app
