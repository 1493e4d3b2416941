#include "reports/MarketingReport.h"

#include "db/TextKeys.h"
#include "platform/Clock.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "records/SharedRoutines.h"

namespace {

const QString kAll = QStringLiteral("All");

// The date field a caption names; the created date when it names no date.
QString dateField(const CaptionSet& captions, const QString& caption) {
    static const QStringList kDates = {
        QStringLiteral("DateCreated"), QStringLiteral("DateReceived"), QStringLiteral("DateDue"),
        QStringLiteral("DateCompleted"), QStringLiteral("DateQuoted")};
    const QString field = CaptionToField(captions, caption);
    return kDates.contains(field) ? field : QStringLiteral("DateCreated");
}

QString stored(const QDate& day) {
    return day.toString(Qt::ISODate) + QStringLiteral(" 00:00:00");
}

}  // namespace

QList<QPair<QString, QString>> jobStatusLabels(const CaptionSet& captions) {
    return captionLabels(captions, {{"label1", Caption::DateCreated},
                                    {"label2", Caption::ClientJobNo},
                                    {"label3", Caption::ClientJobStatus},
                                    {"label4", Caption::WorkName},
                                    {"label5", Caption::DateReceived},
                                    {"label6", Caption::DateDue},
                                    {"label7", Caption::DateQuoted},
                                    {"label10", Caption::IntroducedBy},
                                    {"label11", Caption::DateCompleted}});
}

MarketingChoice defaultMarketingChoice(const AppState& app) {
    const QDate today = app.clock.today();
    MarketingChoice choice;
    choice.from = formatDisplayDate(app, QDateTime(QDate(today.year(), today.month(), 1), {}));
    choice.to = formatDisplayDate(app, QDateTime(today, {}));
    choice.dateCaption = app.FieldCaptions[Caption::DateCreated];
    choice.orderCaption = app.FieldCaptions[Caption::DateCreated];
    return choice;
}

MarketingReport marketingReport(const CaptionSet& captions, const DateStyle& dates,
                                const MarketingChoice& choice) {
    MarketingReport out;
    const auto from = readDateText(dates, choice.from);
    const auto to = readDateText(dates, choice.to);
    if (!from) {
        out.problem = {DateRangeProblem::Box::From,
                       QStringLiteral("The 'From' date you provided is not a valid date"),
                       QStringLiteral("Invalid Date ") + choice.from};
        return out;
    }
    if (!to) {
        out.problem = {DateRangeProblem::Box::To,
                       QStringLiteral("The 'To' date you provided is not a valid date"),
                       QStringLiteral("Invalid Date ") + choice.to};
        return out;
    }
    if (from->date().daysTo(to->date()) <= 0) {
        out.problem = {DateRangeProblem::Box::To,
                       QStringLiteral("The 'To' date you supplied is earlier than the 'From' date"),
                       QStringLiteral("Invalid Date")};
        return out;
    }

    const QString d = dateField(captions, choice.dateCaption);
    const bool byStatus = choice.status != kAll;
    const bool byIntroducer = choice.introducer != kAll;
    ReportRequest& r = out.request;
    r.sql = QStringLiteral("SELECT * FROM Jobs WHERE ");
    if (byStatus) {
        const textkeys::Condition status =
            textkeys::equals(QStringLiteral("JobStatus"), choice.status);
        r.sql += status.sql + QStringLiteral(" AND ");
        r.params << status.value;
    }
    // Up to the end of the To day, whatever time a job's date holds.
    r.sql += d + QStringLiteral(" >= ? AND ") + d + QStringLiteral(" < ?");
    r.params << stored(from->date()) << stored(to->date().addDays(1));
    if (byIntroducer) {
        const textkeys::Condition introducer =
            textkeys::equals(QStringLiteral("IntroducedBy"), choice.introducer);
        r.sql += QStringLiteral(" AND ") + introducer.sql;
        r.params << introducer.value;
    }

    r.title = QStringLiteral("Job Status Report From ") + formatDisplayDate(dates, *from) +
              QStringLiteral(" to ") + formatDisplayDate(dates, *to);
    if (byStatus) {
        r.title += QStringLiteral(" showing jobs with a status of ") + choice.status;
        if (byIntroducer) {
            r.title += QStringLiteral(" and Introduced By ") + choice.introducer;
        }
    } else if (byIntroducer) {
        r.title += QStringLiteral(" showing all jobs Introduced By ") + choice.introducer;
    } else {
        r.title += QStringLiteral(" showing all jobs with no filtering");
    }

    if (choice.grouped) {
        // Within a group, the rows come in the order of their job numbers.
        r.sql += orderThenJobNumber(QStringLiteral("Jobs"));
        r.layout = QStringLiteral("drjobGroup");
        r.command = QStringLiteral("JobGroup_Grouping");
        r.labels = captionLabels(captions, {{"label1", Caption::IntroducedBy},
                                            {"label2", Caption::ClientJobNo},
                                            {"label3", Caption::ClientJobStatus},
                                            {"label4", Caption::WorkName},
                                            {"label5", Caption::DateCreated},
                                            {"label6", Caption::HomeAddress},
                                            {"label7", Caption::WorkDetails},
                                            {"label9", Caption::DateCompleted}});
        return out;
    }
    const QString order =
        choice.orderCaption.isEmpty() ? QString() : CaptionToField(captions, choice.orderCaption);
    r.sql += orderThenJobNumber(QStringLiteral("Jobs"), order);
    r.layout = QStringLiteral("drJobStatus");
    r.command = QStringLiteral("Jobs");
    r.labels = jobStatusLabels(captions);
    return out;
}
