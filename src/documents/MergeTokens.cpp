#include "documents/MergeTokens.h"

#include "documents/TextRoutines.h"

namespace tokens {

namespace {

QStringList bracketed(std::initializer_list<const char*> names) {
    QStringList out;
    for (const char* name : names) {
        out << u'[' + QString::fromLatin1(name) + u']';
    }
    return out;
}

QStringList withFreeFields(QStringList list, qsizetype at) {
    for (int i = 7; i >= 1; --i) {
        list.insert(at, QStringLiteral("[FREE%1]").arg(i));
    }
    return list;
}

}  // namespace

const QStringList& all() {
    static const QStringList list = withFreeFields(
        bracketed({"ADDRESS", "SITEADDRESS", "CLIENTADDRESS", "HSITEADDRESS", "HCLIENTADDRESS",
                   "CLIENTTEL", "CUSTTEL", "INTROBY", "HCLIENTTEL", "HCUSTTEL", "JOBNO",
                   "ENGINEER", "CLIENTNAME", "CUSTNAME", "DATE", "DUEDATE", "DATEDUE",
                   "DATERECEIVED", "DATECREATED", "DATEQUOTED", "JOBDETAILS", "CUSTREF",
                   "COMMENTS", "TELEPHONE", "DATEANNUAL", "STATUS"}),
        23);
    return list;
}

const QStringList& wordOrder() {
    static const QStringList list = withFreeFields(
        bracketed({"ADDRESS", "SITEADDRESS", "CLIENTADDRESS", "HSITEADDRESS", "HCLIENTADDRESS",
                   "COMMENTS", "CLIENTTEL", "INTROBY", "CUSTTEL", "HCLIENTTEL", "HCUSTTEL",
                   "TELEPHONE", "DATE", "JOBNO", "ENGINEER", "CLIENTNAME", "CUSTNAME", "DUEDATE",
                   "DATEDUE", "DATERECEIVED", "DATECREATED", "DATEQUOTED", "JOBDETAILS",
                   "DATEANNUAL", "STATUS", "CUSTREF"}),
        26);
    return list;
}

const QStringList& scanOrder() {
    static const QStringList list = withFreeFields(
        bracketed({"ADDRESS", "SITEADDRESS", "CLIENTADDRESS", "HSITEADDRESS", "HCLIENTADDRESS",
                   "COMMENTS", "CLIENTTEL", "CUSTTEL", "INTROBY", "HCLIENTTEL", "HCUSTTEL",
                   "TELEPHONE", "DATE", "JOBNO", "ENGINEER", "CLIENTNAME", "CUSTNAME", "DUEDATE",
                   "DATEDUE", "DATERECEIVED", "DATECREATED", "DATEQUOTED", "JOBDETAILS",
                   "DATEANNUAL", "STATUS", "CUSTREF"}),
        26);
    return list;
}

QString wordValue(const QString& token, const JobFields& job) {
    const QString clientAddress = StripCarriageReturns(withCrLf(job.CliAddress));
    const QString siteAddress = StripCarriageReturns(withCrLf(job.HomeAddress));
    const QString clientNumbers = withCrLf(job.CliNumbers);
    const QString customerNumbers = withCrLf(job.HomeNumbers);
    auto oneLine = [](const QString& numbers) {
        return ReplaceChar(StripLineFeeds(numbers), u'\r', QStringLiteral(", "));
    };
    if (token == QLatin1String("[ADDRESS]") || token == QLatin1String("[CLIENTADDRESS]")) {
        return clientAddress;
    }
    if (token == QLatin1String("[SITEADDRESS]")) return siteAddress;
    if (token == QLatin1String("[HCLIENTADDRESS]")) {
        return ReplaceChar(clientAddress, u'\n', QStringLiteral(", "));
    }
    if (token == QLatin1String("[HSITEADDRESS]")) {
        return ReplaceChar(siteAddress, u'\n', QStringLiteral(", "));
    }
    if (token == QLatin1String("[CLIENTTEL]")) return FirstLine(clientNumbers);
    if (token == QLatin1String("[HCLIENTTEL]")) return oneLine(clientNumbers);
    if (token == QLatin1String("[CUSTTEL]") || token == QLatin1String("[TELEPHONE]")) {
        return FirstLine(customerNumbers);
    }
    if (token == QLatin1String("[HCUSTTEL]")) return oneLine(customerNumbers);
    if (token == QLatin1String("[CLIENTNAME]")) return job.CliName;
    if (token == QLatin1String("[CUSTNAME]")) return job.WorkName;
    if (token == QLatin1String("[INTROBY]")) return job.ClientRef;
    if (token == QLatin1String("[ENGINEER]")) return job.IntroducedBy;
    if (token == QLatin1String("[JOBNO]")) return job.JobNo;
    if (token == QLatin1String("[STATUS]")) return job.JobStatus;
    if (token == QLatin1String("[CUSTREF]")) return job.CustRef;
    if (token == QLatin1String("[DATE]") || token == QLatin1String("[DATECREATED]")) {
        return job.DateCreated;
    }
    if (token == QLatin1String("[DATERECEIVED]")) return job.DateReceived;
    if (token == QLatin1String("[DUEDATE]") || token == QLatin1String("[DATEDUE]")) {
        return job.DateDue;
    }
    if (token == QLatin1String("[DATEQUOTED]")) return job.DateQuoted;
    if (token == QLatin1String("[DATEANNUAL]")) return job.DateCompleted;
    if (token == QLatin1String("[JOBDETAILS]")) return withCrLf(job.WorkDetails);
    if (token == QLatin1String("[COMMENTS]")) return withCrLf(job.WorkNotes);
    for (int i = 0; i < 7; ++i) {
        if (token == QStringLiteral("[FREE%1]").arg(i + 1)) {
            return job.Unused[size_t(i)];
        }
    }
    return {};
}

}  // namespace tokens
