#include "admin/ExportCommand.h"

#include "estimates/EstimateExport.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "search/ContactSearch.h"
#include "search/JobSearch.h"

namespace admin {

QString exportUsage() {
    return QStringLiteral(
        "  export jobs|customers|clients|estimates [--search TEXT] --csv FILE\n"
        "          write what the search screen finds for TEXT (everything without it) to a CSV\n"
        "          file, in the columns and order of the screen's list\n");
}

int exportList(AppState& app, const QStringList& arguments, Streams io,
               const std::function<bool()>& openDatabase) {
    static const QStringList kLists = {"jobs", "customers", "clients", "estimates"};
    const QString list = arguments.value(0);
    QString search;
    QString file;
    for (qsizetype i = 1; i < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        if ((name != QLatin1String("--search") && name != QLatin1String("--csv")) ||
            i + 1 >= arguments.size()) {
            return fail(io, QStringLiteral("export does not know the option '%1'").arg(name));
        }
        (name == QLatin1String("--csv") ? file : search) = arguments[i + 1];
    }
    if (!kLists.contains(list)) {
        return fail(
            io, QStringLiteral("export needs one of %1").arg(kLists.join(QStringLiteral(", "))));
    }
    if (file.isEmpty()) {
        return fail(io, QStringLiteral("export needs --csv FILE"));
    }
    if (!openDatabase()) {
        return 1;
    }
    Database& db = app.DbConnection;
    resultexport::Outcome written;
    if (list == QLatin1String("jobs")) {
        captions::load(db, app.FieldCaptions);
        written = exportJobs(db, file, jobSearchColumns(app.FieldCaptions.shownLabels()), search,
                             {}, QStringLiteral("JobNo"));
    } else {
        // The screens list these whole, so they are read whole here too.
        const std::optional<Rows> found =
            list == QLatin1String("estimates")
                ? estimates::foundEstimateRows(db, search)
                : search::searchContacts(db, search, list == QLatin1String("clients"));
        if (!found) {
            return fail(io, QStringLiteral("the search failed: %1").arg(db.lastError().message));
        }
        written = list == QLatin1String("estimates")
                      ? estimates::exportEstimates(app, file, *found)
                      : resultexport::exportRows(file, search::contactSearchColumns(), *found);
    }
    if (!written.ok) {
        return fail(io, written.error);
    }
    io.out << file << ": " << written.rows << ' ' << list << Qt::endl;
    return 0;
}

}  // namespace admin
