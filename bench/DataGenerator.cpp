#include "DataGenerator.h"

#include "db/Database.h"
#include "db/Schema.h"
#include "db/TextIndex.h"
#include "db/TextKeyUpkeep.h"

#include <QDateTime>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace benchdata {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QStringList utf8(std::initializer_list<const char*> texts) {
    QStringList out;
    out.reserve(qsizetype(texts.size()));
    for (const char* t : texts) {
        out << QString::fromUtf8(t);
    }
    return out;
}

// QRandomGenerator's own bounded() keeps the rows the same on every platform for one seed,
// which the standard distributions do not promise.
class Dice {
public:
    explicit Dice(quint32 seed) : rng_(seed) {}

    // 0 .. n-1
    int below(qsizetype n) { return n <= 1 ? 0 : int(rng_.bounded(quint32(n))); }
    // lo .. hi
    int between(int lo, int hi) { return lo + below(qsizetype(hi) - lo + 1); }
    qint64 below64(qint64 n) { return n <= 1 ? 0 : qint64(rng_.bounded(quint64(n))); }
    double real() { return rng_.generateDouble(); }
    bool chance(double p) { return real() < p; }
    const QString& pick(const QStringList& list) { return list[below(list.size())]; }
    // An index chosen in proportion to the weights.
    int weighted(const std::vector<double>& weights) {
        double total = 0;
        for (double w : weights) {
            total += w;
        }
        double x = real() * total;
        for (size_t i = 0; i < weights.size(); ++i) {
            if (x < weights[i]) {
                return int(i);
            }
            x -= weights[i];
        }
        return int(weights.size()) - 1;
    }

private:
    QRandomGenerator rng_;
};

double money(double value) { return std::round(value * 100.0) / 100.0; }

// ---------------------------------------------------------------------------------------------
// Places, people and numbers. Telephone numbers come from the ranges Ofcom keeps for drama, and
// e-mail addresses from the example domains, so none of them reaches anybody.

struct Town {
    QString name;
    QString county;
    QString postcodeArea;
    QString dialling;  // "0117" gives "0117 496 0xxx"; "01632" gives "01632 960xxx"
    QStringList localities;
};

const std::vector<Town>& towns() {
    static const std::vector<Town> list = [] {
        struct Row {
            const char* name;
            const char* county;
            const char* area;
            const char* dialling;
            std::initializer_list<const char*> localities;
        };
        const Row rows[] = {
            {"Bristol", "", "BS", "0117",
             {"Clifton", "Redland", "Bishopston", "Southville", "Fishponds", "Horfield",
              "Westbury-on-Trym", "Bedminster", "Henleaze", "Totterdown"}},
            {"Leeds", "West Yorkshire", "LS", "0113",
             {"Headingley", "Roundhay", "Chapel Allerton", "Horsforth", "Armley", "Meanwood"}},
            {"Sheffield", "South Yorkshire", "S", "0114",
             {"Ecclesall", "Crookes", "Hillsborough", "Nether Edge", "Walkley"}},
            {"Nottingham", "", "NG", "0115", {"West Bridgford", "Beeston", "Sherwood", "Mapperley"}},
            {"Leicester", "", "LE", "0116", {"Oadby", "Wigston", "Knighton", "Aylestone"}},
            {"Reading", "Berkshire", "RG", "0118", {"Caversham", "Earley", "Tilehurst", "Woodley"}},
            {"Birmingham", "", "B", "0121",
             {"Edgbaston", "Moseley", "Harborne", "Kings Heath", "Erdington", "Bournville"}},
            {"Edinburgh", "", "EH", "0131", {"Morningside", "Leith", "Stockbridge", "Portobello"}},
            {"Glasgow", "", "G", "0141", {"Hyndland", "Shawlands", "Dennistoun", "Partick"}},
            {"Liverpool", "", "L", "0151", {"Allerton", "Wavertree", "Woolton", "Aigburth"}},
            {"Manchester", "", "M", "0161", {"Didsbury", "Chorlton", "Withington", "Levenshulme"}},
            {"London", "", "SW", "020", {"Clapham", "Balham", "Battersea", "Wimbledon", "Putney"}},
            {"London", "", "N", "020", {"Islington", "Highbury", "Crouch End", "Muswell Hill"}},
            {"London", "", "SE", "020", {"Peckham", "Dulwich", "Greenwich", "Blackheath"}},
            {"Cardiff", "", "CF", "029", {"Canton", "Roath", "Llandaff", "Whitchurch"}},
            {"Bath", "Somerset", "BA", "01632", {"Widcombe", "Larkhall", "Combe Down", "Weston"}},
            {"Taunton", "Somerset", "TA", "01632", {"Bishops Hull", "Trull", "Staplegrove"}},
            {"Exeter", "Devon", "EX", "01632", {"Heavitree", "St Thomas", "Pennsylvania", "Topsham"}},
            {"Cheltenham", "Gloucestershire", "GL", "01632",
             {"Charlton Kings", "Leckhampton", "Prestbury"}},
            {"York", "North Yorkshire", "YO", "01632", {"Acomb", "Heworth", "Fulford", "Clifton"}},
        };
        std::vector<Town> out;
        for (const Row& r : rows) {
            out.push_back({QString::fromUtf8(r.name), QString::fromUtf8(r.county),
                           QString::fromUtf8(r.area), QString::fromUtf8(r.dialling),
                           utf8(r.localities)});
        }
        return out;
    }();
    return list;
}

class People {
public:
    explicit People(Dice& dice) : dice_(dice) {}

    int townIndex() { return dice_.below(qsizetype(towns().size())); }

    QString landline(int town) {
        const QString& code = towns()[size_t(town)].dialling;
        const QString last = QStringLiteral("%1").arg(dice_.below(1000), 3, 10, QChar(u'0'));
        if (code == QLatin1String("020")) {
            return QStringLiteral("020 7946 0") + last;
        }
        if (code == QLatin1String("029")) {
            return QStringLiteral("029 2018 0") + last;
        }
        if (code == QLatin1String("01632")) {
            return QStringLiteral("01632 960") + last;
        }
        return code + QStringLiteral(" 496 0") + last;
    }

    QString mobile() {
        return QStringLiteral("07700 900") +
               QStringLiteral("%1").arg(dice_.below(1000), 3, 10, QChar(u'0'));
    }

    QString postcode(int town) {
        static const QString kLetters = QStringLiteral("ABDEFGHJLNPQRSTUWXYZ");
        const Town& t = towns()[size_t(town)];
        return t.postcodeArea + QString::number(dice_.between(1, 20)) + u' ' +
               QString::number(dice_.between(1, 9)) + kLetters[dice_.below(kLetters.size())] +
               kLetters[dice_.below(kLetters.size())];
    }

    QString street() {
        static const QStringList names = utf8(
            {"Harbour", "Church", "Station", "Victoria", "Albert", "Queens", "Kings", "Park",
             "Manor", "Mill", "Orchard", "Chestnut", "Beech", "Elm", "Willow", "Holly",
             "Cromwell", "Gladstone", "Nelson", "Wellington", "Coronation", "Jubilee", "Meadow",
             "Brook", "Hill", "Windsor", "Richmond", "Belmont", "Grosvenor", "St Mary's",
             "St John's", "Bishop's", "Fern", "Hawthorn", "Sycamore", "Marlborough",
             "Clarence", "Tennyson", "Kingsley", "Priory"});
        static const QStringList kinds = utf8({"Road", "Street", "Avenue", "Close", "Lane",
                                               "Crescent", "Gardens", "Way", "Terrace",
                                               "Drive", "Grove", "Place"});
        return dice_.pick(names) + u' ' + dice_.pick(kinds);
    }

    QString locality(int town) {
        return dice_.pick(towns()[size_t(town)].localities);
    }

    // The lines of a home address, "\r\n" between them.
    QString homeAddress(int town) {
        static const QStringList houseNames =
            utf8({"Rose Cottage", "The Old Rectory", "Ivy House", "Orchard View", "The Laurels",
                  "Tŷ Gwyn", "Meadowside", "The Coach House", "Brook Cottage", "Highfield"});
        static const QStringList blocks = utf8({"Marlborough Court", "Kingfisher House",
                                                "Albion Mews", "Riverside Apartments",
                                                "Priory Court", "Clarendon House"});
        const Town& t = towns()[size_t(town)];
        QStringList lines;
        const int form = dice_.weighted({75, 15, 10});
        if (form == 1) {
            lines << QStringLiteral("Flat %1, ").arg(dice_.between(1, 24)) + dice_.pick(blocks);
            lines << QString::number(dice_.between(1, 180)) + u' ' + street();
        } else if (form == 2) {
            lines << dice_.pick(houseNames) << street() << locality(town);
        } else {
            QString number = QString::number(dice_.between(1, 240));
            if (dice_.chance(0.05)) {
                number += QChar(u'a' + dice_.below(3));
            }
            lines << number + u' ' + street() << locality(town);
        }
        lines << t.name;
        if (!t.county.isEmpty() && dice_.chance(0.5)) {
            lines << t.county;
        }
        lines << postcode(town);
        return lines.join(kCrLf);
    }

    QString officeAddress(int town, const QString& place) {
        const Town& t = towns()[size_t(town)];
        QStringList lines;
        switch (dice_.below(3)) {
            case 0:
                lines << QStringLiteral("Unit %1, ").arg(dice_.between(1, 30)) + place +
                             QStringLiteral(" Business Park");
                lines << street();
                break;
            case 1:
                lines << place + QStringLiteral(" House")
                      << QString::number(dice_.between(1, 120)) + u' ' + street();
                break;
            default:
                lines << QString::number(dice_.between(1, 200)) + QStringLiteral(" High Street");
                lines << locality(town);
                break;
        }
        lines << t.name << postcode(town);
        return lines.join(kCrLf);
    }

    const QStringList& surnames() {
        static const QStringList list = utf8(
            {"Smith", "Jones", "Williams", "Taylor", "Brown", "Davies", "Evans", "Wilson",
             "Thomas", "Roberts", "Johnson", "Lewis", "Walker", "Robinson", "Wood", "Thompson",
             "White", "Watson", "Jackson", "Wright", "Green", "Harris", "Cooper", "King", "Lee",
             "Martin", "Clarke", "James", "Morgan", "Hughes", "Edwards", "Hill", "Moore",
             "Clark", "Harrison", "Scott", "Young", "Morris", "Hall", "Ward", "Turner",
             "Carter", "Phillips", "Mitchell", "Patel", "Adams", "Campbell", "Anderson",
             "Allen", "Cook", "Bailey", "Parker", "Miller", "Davis", "Murphy", "Price", "Bell",
             "Baker", "Griffiths", "Kelly", "Simpson", "Marshall", "Collins", "Bennett", "Cox",
             "Richardson", "Fox", "Gray", "Rose", "Chapman", "Hunt", "Robertson", "Shaw",
             "Reynolds", "Lloyd", "Ellis", "Richards", "Russell", "Wilkinson", "Khan", "Ahmed",
             "Begum", "Singh", "Kaur", "Nowak", "Kowalski", "O'Brien", "O'Neill", "O'Sullivan",
             "O'Connor", "D'Souza", "D'Arcy", "McDonagh", "MacLeod", "Ångström", "Müller",
             "Brontë", "Núñez", "Lefèvre", "Søndergaard", "Llewellyn-Jones", "Ffrench"});
        return list;
    }

    const QStringList& maleNames() {
        static const QStringList list = utf8(
            {"John", "David", "Michael", "Paul", "Andrew", "Mark", "James", "Peter", "Richard",
             "Stephen", "Christopher", "Ian", "Gareth", "Rhys", "Tom", "Daniel", "Mohammed",
             "Ravi", "Liam", "Connor", "José", "Björn", "Noël", "Dafydd", "Łukasz", "Søren",
             "François", "Graham", "Alan", "Kevin"});
        return list;
    }

    const QStringList& femaleNames() {
        static const QStringList list = utf8(
            {"Margaret", "Susan", "Sarah", "Helen", "Claire", "Emma", "Rachel", "Karen", "Julie",
             "Deborah", "Joanne", "Nicola", "Fatima", "Priya", "Aoife", "Niamh", "Zoë", "Chloë",
             "Siân", "Renée", "Anaïs", "Mared", "Eilidh", "Pauline", "Gillian"});
        return list;
    }

    // A first name and a title that goes with it.
    QString firstName(QString* title = nullptr) {
        static const QStringList male = utf8({"Mr", "Mr", "Mr", "Dr", "Rev"});
        static const QStringList female = utf8({"Mrs", "Mrs", "Miss", "Ms", "Ms", "Dr"});
        const bool isMale = dice_.chance(0.5);
        if (title) {
            *title = dice_.pick(isMale ? male : female);
        }
        return dice_.pick(isMale ? maleNames() : femaleNames());
    }

    QString initial(const QString& firstName) { return firstName.left(1) + u'.'; }

    QString customerName(QString* firstOut, QString* surnameOut) {
        QString title;
        const QString first = firstName(&title);
        const QString surname = dice_.pick(surnames());
        *firstOut = first;
        *surnameOut = surname;
        switch (dice_.weighted({50, 28, 8, 6, 5, 3})) {
            case 0:
                return title + u' ' + initial(first) + u' ' + surname;
            case 1:
                return first + u' ' + surname;
            case 2:
                return title + u' ' + first + u' ' + surname;
            case 3:
                return QStringLiteral("Mr & Mrs ") + initial(first) + u' ' + surname;
            case 4:
                return title + u' ' + initial(first) + u' ' + surname +
                       QStringLiteral(" (Landlord)");
            default: {
                const QString second = dice_.pick(surnames());
                if (dice_.chance(0.5)) {
                    return QStringLiteral("The Executors of the Late ") + title + u' ' + first +
                           u' ' + dice_.pick(surnames()) + u' ' + surname + u'-' + second;
                }
                QString tenantTitle;
                const QString tenant = firstName(&tenantTitle);
                return title + u' ' + first + u' ' + surname + u'-' + second +
                       QStringLiteral(" (Tenant: ") + tenantTitle + u' ' + initial(tenant) + u' ' +
                       dice_.pick(surnames()) + u')';
            }
        }
    }

    // Letters and digits only, without accents: "Zoë Ångström" gives "zoe" and "angstrom".
    static QString plain(const QString& text) {
        const QString decomposed = text.normalized(QString::NormalizationForm_KD);
        QString out;
        out.reserve(decomposed.size());
        for (QChar c : decomposed) {
            if (c.unicode() < 128 && c.isLetterOrNumber()) {
                out += c.toLower();
            }
        }
        return out;
    }

    QString personalEmail(const QString& first, const QString& surname) {
        static const QStringList domains = utf8(
            {"example.com", "example.co.uk", "example.org", "example.net", "mail.example.com"});
        const QString f = plain(first);
        const QString s = plain(surname);
        QString local;
        switch (dice_.below(4)) {
            case 0: local = f + u'.' + s; break;
            case 1: local = f.left(1) + s; break;
            case 2: local = f + s + QString::number(dice_.between(1, 99)); break;
            default: local = s + u'.' + f.left(1); break;
        }
        return local + u'@' + dice_.pick(domains);
    }

    QString engineerName() {
        static const QStringList firsts =
            utf8({"Dave", "Gareth", "Steve", "Mike", "Pete", "Rob", "Tony", "Kev", "Lee",
                  "Darren", "Wayne", "Craig", "Jamie", "Ryan", "Nathan", "Sam", "Jo", "Becky",
                  "Tomasz", "Piotr", "Aled", "Callum", "Owen", "Harry", "Alfie"});
        return dice_.pick(firsts) + u' ' + dice_.pick(surnames());
    }

private:
    Dice& dice_;
};

// ---------------------------------------------------------------------------------------------
// The register's own texts.

enum class ClientKind { Agent, Insurer, Adjuster, Housing };

struct Client {
    qint64 id = 0;
    ClientKind kind = ClientKind::Agent;
    QString name, address, contact, notes, initials;
    int refStyle = 0;
    int nextRef = 1;
};

struct Customer {
    qint64 id = 0;
    int client = 0;
    QString name, address, contact;
};

QString clientName(Dice& dice, People& people, ClientKind* kind) {
    static const QStringList places = utf8(
        {"Harbour", "Riverside", "Westgate", "Northfield", "Kingsway", "Abbey", "Castle",
         "Meadow", "Oakwood", "Parkside", "Southbank", "Victoria", "Cathedral", "Marina",
         "Hillcrest", "Greenway", "Ashford", "Beacon", "Clifton", "Redland", "Chiltern",
         "Mendip", "Severn", "Avon", "Cotswold", "Pennine", "Tamar", "Wessex", "Mercia",
         "Thames", "Solent", "Cornerstone", "Keystone", "Landmark", "Heritage", "Summit"});
    const QString place = dice.pick(places);
    const QString a = dice.pick(people.surnames());
    const QString b = dice.pick(people.surnames());
    switch (dice.weighted({40, 25, 15, 20})) {
        case 0:
            *kind = ClientKind::Agent;
            switch (dice.below(5)) {
                case 0: return place + QStringLiteral(" Estates Ltd");
                case 1: return a + QStringLiteral(" & ") + b + QStringLiteral(" Estate Agents");
                case 2: return place + QStringLiteral(" Lettings");
                case 3: return a + QStringLiteral(" & Co Residential");
                default: return a + u' ' + b + QStringLiteral(" Property Lettings");
            }
        case 1:
            *kind = ClientKind::Insurer;
            switch (dice.below(4)) {
                case 0: return a + QStringLiteral(" & ") + b + QStringLiteral(" Insurance");
                case 1: return place + QStringLiteral(" Mutual Insurance Society");
                case 2: return place + QStringLiteral(" Home Insurance plc");
                default: return a + QStringLiteral(" Claims Services Ltd");
            }
        case 2:
            *kind = ClientKind::Adjuster;
            return dice.chance(0.5) ? QString(a + u' ' + b + QStringLiteral(" Loss Adjusters"))
                                    : QString(place + QStringLiteral(" Loss Adjusting Ltd"));
        default:
            *kind = ClientKind::Housing;
            switch (dice.below(3)) {
                case 0: return place + QStringLiteral(" Housing Association");
                case 1: return place + QStringLiteral(" Property Management Ltd");
                default: return a + QStringLiteral(" Block Management");
            }
    }
}

QString initialsOf(const QString& name) {
    QString out;
    for (const QString& word : name.split(u' ', Qt::SkipEmptyParts)) {
        const QChar c = word.at(0);
        if (c.isLetter() && c.isUpper() && c.unicode() < 128) {
            out += c;
        }
        if (out.size() == 2) {
            break;
        }
    }
    return out.isEmpty() ? QStringLiteral("CL") : out;
}

QString clientNotes(Dice& dice, People& people) {
    static const QStringList notes = utf8(
        {"Invoices to accounts payable, quote our job number and their reference.",
         "All quotes over £250 to be approved before starting.",
         "Tenants to be given 24 hours notice of visits.",
         "Keys collected from and returned to the branch.",
         "Before and after photos required with every invoice.",
         "Payment terms 30 days from invoice.",
         "Send completion certificate with the invoice.",
         "No work on Saturdays without written approval.",
         "Emergency call outs: ring the out of hours number first.",
         "Monthly statement requested, not individual reminders.",
         "VAT invoices only, marked for the attention of the claims handler.",
         "Do not discuss cost of repairs with policyholders."});
    if (dice.chance(0.15)) {
        return {};
    }
    QStringList lines;
    const int n = dice.between(1, 3);
    for (int i = 0; i < n; ++i) {
        const QString& note = dice.pick(notes);
        if (!lines.contains(note)) {
            lines << note;
        }
    }
    if (dice.chance(0.4)) {
        lines << QStringLiteral("Contact: ") + people.firstName() + u' ' +
                     dice.pick(people.surnames()) +
                     (dice.chance(0.5) ? QStringLiteral(", maintenance manager")
                                       : QStringLiteral(", claims handler"));
    }
    return lines.join(kCrLf);
}

QString workDetails(Dice& dice) {
    static const QStringList tasks = utf8(
        {"Replace leaking valve under kitchen sink", "Check pressure and top up boiler",
         "Investigate damp patch on bedroom ceiling", "Renew cracked WC cistern",
         "Clear blocked gully at rear of property", "Re-secure loose ridge tiles",
         "Make good plaster around new window frame",
         "Supply and fit new thermostatic radiator valve in lounge",
         "Trace and repair leak from shower tray", "Reseal bath with white silicone",
         "Replace faulty extractor fan in bathroom", "Annual gas safety inspection (CP12)",
         "Service combination boiler", "Repair fence panel blown down in storm",
         "Ease and adjust sticking back door",
         "Replace broken double-glazed unit in kitchen window",
         "Test and inspect electrical installation (EICR)",
         "Replace blown downlights in hallway", "Clear blocked kitchen waste",
         "Repaint ceiling after water damage",
         "Strip out and dry affected area, take moisture readings",
         "Replace rotten section of skirting board in hallway",
         "Lift carpet and inspect floorboards for water damage",
         "Install new mixer tap to kitchen", "Repair leaking overflow pipe",
         "Replace cracked wash hand basin", "Fix dripping hot tap in bathroom",
         "Re-hang front gate", "Repoint chimney stack", "Clear gutters and downpipes",
         "Replace missing roof slates", "Renew sealant around kitchen worktop",
         "Supply and fit mains smoke alarms to each floor",
         "Fit new lock to front door, three keys to agent",
         "Board up broken window following break-in",
         "Investigate intermittent loss of hot water", "Bleed radiators and balance system",
         "Power flush central heating system", "Remove and dispose of old storage heaters",
         "Repair lath and plaster ceiling in front bedroom", "Replace consumer unit",
         "Renew flexible hoses to washing machine",
         "Treat black mould in bathroom and apply anti-fungal paint",
         "Supply and fit new shower pump", "Replace cracked tiles around bath",
         "Escape of water from first floor bathroom - trace and repair",
         "Storm damage to flat roof over kitchen extension",
         "Reinstate kitchen units after leak", "Replace rotten window sill to rear bedroom",
         "Unblock soil stack and jet drains"});
    static const QStringList follows = utf8(
        {"check pressure", "leave area clean and tidy", "customer to be present",
         "tenant works nights - call after 2pm", "report findings to agent",
         "quote before proceeding if over £300", "photos before and after",
         "keys from agent", "dog on premises", "parking permit from tenant",
         "isolate supply and make safe", "test on completion", "dispose of old fittings",
         "confirm colour with customer", "second visit may be needed"});
    QStringList sentences;
    const int n = dice.weighted({60, 30, 10}) + 1;
    for (int i = 0; i < n; ++i) {
        QStringList parts{dice.pick(tasks)};
        const int extra = dice.weighted({40, 35, 20, 5});
        for (int j = 0; j < extra; ++j) {
            parts << dice.pick(follows);
        }
        sentences << parts.join(QStringLiteral("; ")) + u'.';
    }
    return sentences.join(u' ');
}

// ---------------------------------------------------------------------------------------------
// Job statuses and the life of a job.

enum class Stage { New, AwaitingSurvey, Surveyed, Quoted, AwaitingParts, InProgress, Completed,
                   Invoiced, Closed, Other };

Stage stageOf(const QString& status) {
    static const QList<QPair<QString, Stage>> known = {
        {QStringLiteral("New"), Stage::New},
        {QStringLiteral("Awaiting Survey"), Stage::AwaitingSurvey},
        {QStringLiteral("Surveyed"), Stage::Surveyed},
        {QStringLiteral("Quoted"), Stage::Quoted},
        {QStringLiteral("Awaiting Parts"), Stage::AwaitingParts},
        {QStringLiteral("In Progress"), Stage::InProgress},
        {QStringLiteral("Completed"), Stage::Completed},
        {QStringLiteral("Invoiced"), Stage::Invoiced},
        {QStringLiteral("Closed"), Stage::Closed},
    };
    for (const auto& k : known) {
        if (status.compare(k.first, Qt::CaseInsensitive) == 0) {
            return k.second;
        }
    }
    return Stage::Other;
}

// How likely each stage is for a job of a given age: young jobs are open, old ones closed.
double stageWeight(Stage stage, qint64 ageDays) {
    const int band = ageDays < 14 ? 0 : ageDays < 60 ? 1 : ageDays < 365 ? 2 : 3;
    static const double table[][10] = {
        // New AwSurv Surv Quoted Parts InProg Compl Invd Closed Other
        {25, 25, 12, 15, 5, 15, 3, 0, 0.5, 1},
        {2, 5, 6, 15, 10, 20, 22, 18, 2, 1},
        {0, 1, 1, 4, 1, 2, 6, 20, 65, 1},
        {0, 0, 0, 1, 0, 0, 1, 2, 96, 0.5},
    };
    return table[band][int(stage)];
}

// The dates of the register are written digit by digit rather than through the locale's
// patterns or asprintf: there are well over a million of them, and either of those took a sixth
// of the whole run.
struct Moment {
    int year, month, day, hour, minute, second;
};

Moment split(qint64 secs) {
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(secs, Qt::UTC);
    const QDate d = moment.date();
    const QTime t = moment.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

// The layout with each run of 'y', 'M', 'd', 'h', 'm', 's' replaced by that field's digits.
QString layOut(const Moment& m, QLatin1StringView layout) {
    const char* text = layout.data();
    QString out(layout.size(), Qt::Uninitialized);
    QChar* c = out.data();
    for (qsizetype i = layout.size() - 1; i >= 0;) {
        const char field = text[i];
        int value = -1;
        switch (field) {
            case 'y': value = m.year; break;
            case 'M': value = m.month; break;
            case 'd': value = m.day; break;
            case 'h': value = m.hour; break;
            case 'm': value = m.minute; break;
            case 's': value = m.second; break;
            default: break;
        }
        if (value < 0) {
            c[i] = QLatin1Char(field);
            --i;
            continue;
        }
        for (; i >= 0 && text[i] == field; --i) {
            c[i] = QLatin1Char(char('0' + value % 10));
            value /= 10;
        }
    }
    return out;
}

// As the notes box stamps its lines: "12/03/2025, 09:14:02".
QString noteStamp(qint64 secs) {
    return layOut(split(secs), QLatin1StringView("dd/MM/yyyy, hh:mm:ss"));
}

// As the database stores dates and times (datetext::toStored): "yyyy-MM-dd hh:mm:ss".
QString stored(qint64 secs) {
    return layOut(split(secs), QLatin1StringView("yyyy-MM-dd hh:mm:ss"));
}

QVariant storedOrNull(qint64 secs) { return secs > 0 ? QVariant(stored(secs)) : QVariant(); }

QString ukDate(qint64 secs) { return layOut(split(secs), QLatin1StringView("dd/MM/yyyy")); }

constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 24 * kHour;

// ---------------------------------------------------------------------------------------------
// Estimate lines: what the business buys and charges for.

struct StockItem {
    QString description;
    double tradePrice = 0;
    int qtyKind = 0;  // 0 items, 1 metres or square metres, 2 hours, 3 days or weeks
};

std::vector<StockItem> stockItems(Dice& dice) {
    std::vector<StockItem> items;
    QSet<QString> seen;
    auto add = [&](const QString& description, double lo, double hi, int qtyKind) {
        if (seen.contains(description)) {
            return;
        }
        seen.insert(description);
        items.push_back({description, money(lo + (hi - lo) * dice.real()), qtyKind});
    };
    // Each at about its own price.
    struct Priced {
        const char* description;
        double price;
    };
    auto addPriced = [&](std::initializer_list<Priced> list, int qtyKind) {
        for (const Priced& p : list) {
            add(QString::fromUtf8(p.description), p.price * 0.9, p.price * 1.1, qtyKind);
        }
    };
    for (const char* trade : {"plumber", "electrician", "carpenter", "decorator", "plasterer",
                              "roofer", "tiler", "general builder", "labourer", "gas engineer"}) {
        add(QStringLiteral("Labour - ") + QLatin1String(trade) + QStringLiteral(" (per hour)"),
            28, 55, 2);
        add(QStringLiteral("Labour - ") + QLatin1String(trade) + QStringLiteral(" (per day)"),
            180, 320, 3);
    }
    addPriced({{"Call out charge", 45}, {"Out of hours call out", 95},
               {"Minimum charge (first hour)", 55}, {"Gas safety certificate", 60},
               {"Electrical installation condition report", 150}, {"Skip hire 6 yard", 210},
               {"Skip hire 8 yard", 260}, {"Waste removal and disposal", 85},
               {"Scaffold tower hire (per week)", 120}, {"Scaffolding erect and dismantle", 650},
               {"Dehumidifier hire (per week)", 55}, {"Parking and congestion charge", 15}},
              0);
    const QStringList pipeSizes = utf8({"15mm", "22mm", "28mm"});
    for (const QString& s : pipeSizes) {
        add(s + QStringLiteral(" copper tube (3m length)"), 8, 30, 0);
        for (const char* f : {"compression elbow", "compression tee", "compression straight coupler",
                              "end feed elbow", "end feed tee", "isolating valve", "tank connector",
                              "push-fit elbow", "push-fit tee", "gate valve", "pipe clips (bag of 10)"}) {
            add(s + u' ' + QLatin1String(f), 0.8, 12, 0);
        }
    }
    for (const char* s : {"32mm", "40mm"}) {
        for (const char* f : {"solvent weld waste pipe (3m)", "waste bend 90°", "waste tee",
                              "bottle trap", "P trap", "straight coupler"}) {
            add(QLatin1String(s) + u' ' + QString::fromUtf8(f), 1.5, 9, 0);
        }
    }
    for (int h : {300, 450, 600}) {
        for (int w : {400, 600, 800, 1000, 1200, 1400}) {
            add(QStringLiteral("Double panel convector radiator %1 x %2mm").arg(h).arg(w),
                35 + w * 0.04 + h * 0.03, 45 + w * 0.06 + h * 0.04, 0);
        }
    }
    for (const char* f : {"white", "chrome"}) {
        add(QStringLiteral("Thermostatic radiator valve 15mm ") + QLatin1String(f), 9, 18, 0);
        add(QStringLiteral("Lockshield valve 15mm ") + QLatin1String(f), 4, 9, 0);
    }
    for (const char* brand : {"Dulux Trade", "Crown Trade", "Johnstone's Trade"}) {
        for (const char* product : {"Vinyl Matt", "Diamond Eggshell", "Satinwood", "High Gloss"}) {
            for (const char* colour : {"Brilliant White", "Magnolia"}) {
                for (const char* size : {"2.5L", "5L"}) {
                    const bool big = QLatin1String(size) == QLatin1String("5L");
                    add(QLatin1String(brand) + u' ' + QLatin1String(product) + u' ' +
                            QLatin1String(colour) + u' ' + QLatin1String(size),
                        big ? 28 : 16, big ? 52 : 30, 0);
                }
            }
        }
    }
    for (const char* dim : {"18 x 44", "18 x 69", "21 x 94", "25 x 100", "44 x 44", "44 x 69",
                            "47 x 100"}) {
        for (const char* len : {"2.4", "3.0", "3.6"}) {
            add(QStringLiteral("PAR softwood ") + QLatin1String(dim) + QStringLiteral("mm x ") +
                    QLatin1String(len) + u'm',
                3, 16, 0);
        }
    }
    for (const char* finish : {"white", "brushed chrome", "polished chrome", "antique brass",
                               "black nickel"}) {
        for (const char* f : {"single switched socket", "double switched socket",
                              "1 gang 2 way switch", "2 gang 2 way switch", "switched fused spur",
                              "cooker control unit"}) {
            add(QString::fromLatin1(f).left(1).toUpper() + QString::fromLatin1(f).mid(1) +
                    u' ' + QLatin1String(finish),
                2.5, 24, 0);
        }
    }
    for (int a : {6, 10, 16, 20, 32, 40}) {
        add(QStringLiteral("%1A Type B MCB").arg(a), 4, 9, 0);
        add(QStringLiteral("%1A Type B RCBO").arg(a), 22, 38, 0);
    }
    for (const char* c : {"1.0", "1.5", "2.5", "6.0", "10.0"}) {
        add(QLatin1String(c) + QStringLiteral("mm² twin and earth cable (per m)"), 0.4, 4.5, 1);
    }
    for (const char* f : {"White gloss wall tiles 150 x 150 (per m²)",
                          "White gloss wall tiles 200 x 250 (per m²)",
                          "Metro wall tiles 100 x 200 (per m²)",
                          "Porcelain floor tiles 600 x 600 grey (per m²)",
                          "Vinyl flooring (per m²)", "Carpet underlay (per m²)"}) {
        add(QString::fromUtf8(f), 9, 38, 1);
    }
    for (const char* style : {"6 panel white primed", "oak shaker", "glazed 4 light",
                              "FD30 fire door"}) {
        for (int w : {686, 762, 838}) {
            add(QStringLiteral("Internal door ") + QLatin1String(style) +
                    QStringLiteral(" 1981 x %1mm").arg(w),
                38, 120, 0);
        }
    }
    for (const char* finish : {"satin chrome", "polished brass", "black"}) {
        add(QStringLiteral("Lever handles on rose ") + QLatin1String(finish), 8, 26, 0);
        add(QStringLiteral("Butt hinges 100mm (pair) ") + QLatin1String(finish), 2.5, 7, 0);
    }
    for (const char* size : {"35/35", "40/40", "45/45"}) {
        add(QStringLiteral("Euro cylinder ") + QLatin1String(size) + QStringLiteral(" anti-snap"),
            14, 32, 0);
    }
    addPriced({{"110mm soil pipe (3m)", 18}, {"110mm soil bend 92.5°", 9},
               {"110mm access pipe", 14}, {"WC pan connector", 6}, {"110mm soil boss", 7},
               {"Air admittance valve", 11}},
              0);
    addPriced({{"12.5mm plasterboard 2400 x 1200", 9}, {"9.5mm plasterboard 2400 x 1200", 8},
               {"12.5mm moisture resistant plasterboard", 14}, {"18mm OSB3 2440 x 1220", 24},
               {"12mm WBP plywood 2440 x 1220", 32}, {"18mm MDF 2440 x 1220", 30},
               {"Multi-finish plaster 25kg", 11}, {"Bonding coat 25kg", 13},
               {"Scrim tape 90m", 4}, {"Sharp sand (bulk bag)", 55},
               {"Building sand (bulk bag)", 50}, {"Cement 25kg", 7}},
              0);
    addPriced({{"Fire rated LED downlight 3000K", 9}, {"Fire rated LED downlight 4000K", 9},
               {"Mains smoke alarm with battery backup", 22}, {"Mains heat alarm", 26},
               {"Carbon monoxide alarm", 18}, {"10 way dual RCD consumer unit", 95},
               {"12 way RCBO consumer unit", 240},
               {"Bathroom extractor fan 100mm with timer", 32}, {"Kitchen extractor fan 150mm", 48},
               {"LED batten 1500mm", 19}},
              0);
    addPriced({{"Silicone sealant white 310ml", 5}, {"Silicone sealant clear 310ml", 5},
               {"Decorators caulk 380ml", 2.5}, {"Expanding foam 750ml", 7}, {"PTFE tape", 0.6},
               {"Jointing compound 400g", 6}, {"Wall tile grout white 5kg", 9},
               {"Tile adhesive 20kg", 16}, {"Wood screws assorted (box)", 12},
               {"Wall plugs assorted (box)", 6}, {"Dust sheets (pack of 3)", 10},
               {"Masking tape 50mm", 3}, {"Sandpaper assorted (pack)", 5},
               {"Wood filler 330g", 6}, {"Stain block primer 1L", 14},
               {"Anti-fungal paint additive", 8}},
              0);
    addPriced({{"Close coupled WC pan and cistern", 120}, {"Pedestal basin 550mm", 65},
               {"Basin mixer tap chrome", 45}, {"Bath taps (pair) chrome", 38},
               {"Thermostatic bar shower", 85}, {"Electric shower 9.5kW", 160},
               {"Shower tray 1200 x 800", 140}, {"Bath panel white", 30},
               {"Kitchen sink mixer tap", 55}, {"Stainless steel sink 1.5 bowl", 75},
               {"Flexible tap connector 300mm", 4}, {"Soft close toilet seat", 25},
               {"WC cistern fill valve", 9}, {"WC flush valve", 14}, {"Shower pump 2.0 bar", 240},
               {"Combination boiler 30kW", 950}},
              0);
    if (items.size() > 300) {
        items.resize(300);
    }
    return items;
}

// ---------------------------------------------------------------------------------------------

// One INSERT prepared once and run for each row, the values bound.
class Insert {
public:
    Insert(const QSqlDatabase& db, const QString& table, const QStringList& columns) : q_(db) {
        const QStringList marks(columns.size(), QStringLiteral("?"));
        sql_ = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") +
               columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
               marks.join(QStringLiteral(", ")) + u')';
        table_ = table;
        prepared_ = q_.prepare(sql_);
    }

    bool run(std::initializer_list<QVariant> values) {
        if (!prepared_) {
            return false;
        }
        int i = 0;
        for (const QVariant& v : values) {
            q_.bindValue(i++, v);
        }
        if (!q_.exec()) {
            return false;
        }
        ++rows_;
        return true;
    }

    qint64 lastId() const { return q_.lastInsertId().toLongLong(); }
    qint64 rows() const { return rows_; }
    QString error() const { return table_ + QStringLiteral(": ") + q_.lastError().text(); }

private:
    QSqlQuery q_;
    QString sql_;
    QString table_;
    bool prepared_ = false;
    qint64 rows_ = 0;
};

class Generator {
public:
    Generator(Database& db, const DataSize& size, quint32 seed, const QDate& until)
        : db_(db), size_(size), dice_(seed), people_(dice_) {
        end_ = QDateTime(until, QTime(18, 0), Qt::UTC).toSecsSinceEpoch();
        start_ = QDateTime(until.addYears(-6), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    }

    QString run(RowCounts& counts) {
        if (const QString why = readLists(); !why.isEmpty()) {
            return why;
        }
        QString why = insertClients();
        if (why.isEmpty()) why = insertCustomers();
        if (why.isEmpty()) why = insertEngineers();
        if (why.isEmpty()) why = insertJobs();
        if (why.isEmpty()) why = insertEstimates();
        if (why.isEmpty()) why = setCounters();
        if (!why.isEmpty()) {
            return why;
        }
        counts = counts_;
        return {};
    }

private:
    QString readLists() {
        const auto statusRows = db_.query(QStringLiteral("SELECT Status FROM jobStatus"));
        const auto introducerRows =
            db_.query(QStringLiteral("SELECT IntroducedBy FROM IntroducedBy"));
        if (!statusRows || !introducerRows) {
            return db_.lastError().message;
        }
        for (int i = 0; i < statusRows->count(); ++i) {
            statuses_ << statusRows->at(i, 0).toString();
        }
        if (!statuses_.contains(QStringLiteral("New"), Qt::CaseInsensitive)) {
            statuses_.prepend(QStringLiteral("New"));
        }
        for (int i = 0; i < introducerRows->count(); ++i) {
            introducers_ << introducerRows->at(i, 0).toString();
        }
        if (introducers_.isEmpty()) {
            introducers_ << QString();
        }
        return {};
    }

    // The pick of the introducer matching the kind of client, when the list has one.
    QString introducer(ClientKind kind) {
        static const char* names[] = {"Estate Agent", "Insurer", "Loss Adjuster", "Direct"};
        const QString wanted = QLatin1String(names[int(kind)]);
        if (dice_.chance(0.6) && introducers_.contains(wanted, Qt::CaseInsensitive)) {
            return wanted;
        }
        return dice_.pick(introducers_);
    }

    QString insertClients() {
        Insert ins(db_.handle(), QStringLiteral("clients"),
                   {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Contact"),
                    QStringLiteral("Notes"), QStringLiteral("Telephone"), QStringLiteral("Email"),
                    QStringLiteral("Unused2"), QStringLiteral("Unused3"), QStringLiteral("Unused4"),
                    QStringLiteral("Unused5"), QStringLiteral("Unused6"),
                    QStringLiteral("Unused7")});
        QSet<QString> names;
        clients_.reserve(size_t(size_.clients));
        for (int i = 0; i < size_.clients; ++i) {
            Client c;
            c.name = clientName(dice_, people_, &c.kind);
            const int town = people_.townIndex();
            if (names.contains(c.name)) {
                c.name += QStringLiteral(" (") + people_.locality(town) + u')';
            }
            if (names.contains(c.name)) {
                c.name += QStringLiteral(" %1").arg(i);
            }
            names.insert(c.name);
            c.initials = initialsOf(c.name);
            c.refStyle = dice_.weighted({70, 20, 10});
            c.nextRef = dice_.between(1, 400);
            const QString office = people_.landline(town);
            QStringList numbers{QStringLiteral("Office ") + office};
            if (c.kind == ClientKind::Insurer || c.kind == ClientKind::Adjuster) {
                numbers << QStringLiteral("Claims ") + people_.landline(town);
            }
            if (dice_.chance(0.4)) {
                numbers << QStringLiteral("Out of hours ") + people_.mobile();
            }
            if (dice_.chance(0.15)) {
                numbers << QStringLiteral("Fax ") + people_.landline(town);
            }
            c.contact = numbers.join(QStringLiteral("  "));
            c.address = people_.officeAddress(town, c.name.section(u' ', 0, 0));
            c.notes = clientNotes(dice_, people_);
            const QString domain = People::plain(c.name.section(u' ', 0, 1)) +
                                   QStringLiteral(".example.co.uk");
            static const QStringList mailboxes =
                utf8({"jobs", "maintenance", "claims", "accounts", "lettings", "repairs"});
            const QString email = dice_.pick(mailboxes) + u'@' + domain;
            const QVariant account =
                dice_.chance(0.6)
                    ? QVariant(QStringLiteral("Account ") + c.initials +
                               QString::number(dice_.between(1000, 9999)))
                    : QVariant(QString());
            const QVariant terms = dice_.chance(0.4)
                                       ? QVariant(QStringLiteral("Terms: %1 days")
                                                      .arg(dice_.chance(0.7) ? 30 : 60))
                                       : QVariant(QString());
            const QVariant since =
                dice_.chance(0.1) ? QVariant(QStringLiteral("Approved contractor since %1")
                                                 .arg(dice_.between(2005, 2022)))
                                  : QVariant(QString());
            if (!ins.run({c.name, c.address, c.contact, c.notes, office, email, account, terms,
                          since, QString(), QString(), QString()})) {
                return ins.error();
            }
            c.id = ins.lastId();
            clients_.push_back(std::move(c));
        }
        counts_.clients = ins.rows();
        return {};
    }

    QString insertCustomers() {
        if (size_.customers > 0 && clients_.empty()) {
            return QStringLiteral("Customers need at least one client.");
        }
        Insert ins(db_.handle(), QStringLiteral("customers"),
                   {QStringLiteral("ClientID"), QStringLiteral("Name"), QStringLiteral("Address"),
                    QStringLiteral("Contact"), QStringLiteral("TypeID"),
                    QStringLiteral("Telephone"), QStringLiteral("Email"),
                    QStringLiteral("Unused2"), QStringLiteral("Unused3"), QStringLiteral("Unused4"),
                    QStringLiteral("Unused5"), QStringLiteral("Unused6"),
                    QStringLiteral("Unused7")});
        static const QStringList occupiers = utf8({"Owner occupier", "Tenant", "Landlord"});
        static const QStringList access =
            utf8({"Key safe by back door, code from agent", "Keys with neighbour at no. 12",
                  "Works shifts - mornings best", "Elderly, please ring before calling",
                  "Side gate is the only access to rear", "Hearing impaired, text first"});
        customers_.reserve(size_t(size_.customers));
        for (int i = 0; i < size_.customers; ++i) {
            Customer c;
            c.client = dice_.below(qsizetype(clients_.size()));
            QString first, surname;
            c.name = people_.customerName(&first, &surname);
            const int town = people_.townIndex();
            c.address = people_.homeAddress(town);
            const int typeId = dice_.weighted({50, 35, 15}) + 1;
            QString telephone;
            QStringList numbers;
            if (dice_.chance(0.7)) {
                telephone = people_.landline(town);
                numbers << QStringLiteral("Home ") + telephone;
            }
            if (numbers.isEmpty() || dice_.chance(0.6)) {
                const QString mobile = people_.mobile();
                numbers << QStringLiteral("Mob ") + mobile;
                if (telephone.isEmpty()) {
                    telephone = mobile;
                }
            }
            if (dice_.chance(0.15)) {
                numbers << QStringLiteral("Work ") + people_.landline(people_.townIndex());
            }
            c.contact = numbers.join(QStringLiteral("  "));
            const QString email = dice_.chance(0.7) ? people_.personalEmail(first, surname)
                                                    : QString();
            const QString occupier =
                dice_.chance(0.4) ? occupiers[typeId - 1] : QString();
            const QString note = dice_.chance(0.1) ? dice_.pick(access) : QString();
            if (!ins.run({clients_[size_t(c.client)].id, c.name, c.address, c.contact, typeId,
                          telephone, email, occupier, note, QString(), QString(), QString(),
                          QString()})) {
                return ins.error();
            }
            c.id = ins.lastId();
            customers_.push_back(std::move(c));
        }
        counts_.customers = ins.rows();
        return {};
    }

    QString insertEngineers() {
        Insert ins(db_.handle(), QStringLiteral("engineers"), {QStringLiteral("Engineer")});
        QSet<QString> seen;
        for (int i = 0; i < size_.engineers; ++i) {
            QString name = people_.engineerName();
            for (int tries = 0; seen.contains(name) && tries < 20; ++tries) {
                name = people_.engineerName();
            }
            if (seen.contains(name)) {
                name += QStringLiteral(" %1").arg(i + 1);
            }
            seen.insert(name);
            if (!ins.run({name})) {
                return ins.error();
            }
            engineers_ << name;
        }
        counts_.engineers = ins.rows();
        return {};
    }

    // A moment during the working day; weekends are rarer.
    qint64 workingMoment() {
        const qint64 days = (end_ - start_) / kDay;
        qint64 day = 0;
        for (int tries = 0; tries < 3; ++tries) {
            day = dice_.below64(days + 1);
            const int weekday = QDateTime::fromSecsSinceEpoch(start_ + day * kDay, Qt::UTC)
                                    .date()
                                    .dayOfWeek();
            if (weekday < 6 || dice_.chance(0.15)) {
                break;
            }
        }
        const qint64 moment = start_ + day * kDay + 7 * kHour + 30 * 60 + dice_.below(11 * 3600);
        return std::min(moment, end_);
    }

    // A later moment, never past the end of the data.
    qint64 after(qint64 from, qint64 minSecs, qint64 maxSecs) {
        return std::min(end_, from + minSecs + dice_.below64(maxSecs - minSecs + 1));
    }

    // A moment in office hours from `from` to `to`, never past the end of the data.
    qint64 officeBetween(qint64 from, qint64 to) {
        from = std::min(from, end_);
        to = std::clamp(to, from, end_);
        const qint64 day = from + dice_.below64(to - from + 1);
        qint64 moment = day - day % kDay + 8 * kHour + dice_.below(10 * kHour);
        if (moment < from) {
            moment = from + dice_.below64(std::min<qint64>(2 * kHour, to - from) + 1);
        }
        return std::min(moment, to);
    }

    qint64 officeAfter(qint64 from, int minDays, int maxDays) {
        return officeBetween(from + minDays * kDay, from + maxDays * kDay);
    }

    struct Timeline {
        Stage stage = Stage::Other;
        bool cancelled = false;
        bool noCharge = false;
        bool paid = false;
        qint64 created = 0;
        qint64 quoted = 0;
        qint64 completed = 0;
        qint64 invoiced = 0;
    };

    // The office's diary of the job, one dated line for each thing that happened, in order.
    QString workNotes(const Timeline& t, const QString& engineer) {
        static const QStringList logged =
            utf8({"Job received from client by email", "Job logged from phone call with client",
                  "Instruction received via client portal", "Works order received by post"});
        static const QStringList chasing =
            utf8({"Called customer, no answer", "Left voicemail for customer",
                  "Texted customer to arrange access", "Called tenant, no answer",
                  "Emailed customer for a convenient time"});
        static const QStringList booked =
            utf8({"Spoke to customer, appointment booked for %1 am",
                  "Spoke to tenant, appointment booked for %1 pm",
                  "Agent confirmed keys available, booked for %1"});
        static const QStringList surveyed = utf8({"%1 attended to survey, photos taken",
                                                  "%1 carried out survey, measurements taken",
                                                  "%1 attended, no access - card left"});
        static const QStringList quoting =
            utf8({"Quote emailed to client", "Quote sent to client for approval",
                  "Estimate posted to customer"});
        static const QStringList done = utf8({"%1 attended, work completed",
                                              "%1 attended, work completed, customer satisfied",
                                              "%1 returned to finish, all complete"});
        static const QStringList paidNotes =
            utf8({"Payment received, thank you", "Remittance received by email",
                  "Paid by BACS"});

        // How far the job got: 0 new, 1 awaiting survey, 2 surveyed, 3 quoted, 4 awaiting
        // parts, 5 in progress, 6 and on finished.
        int reached = 5;
        switch (t.stage) {
            case Stage::New: reached = 0; break;
            case Stage::AwaitingSurvey: reached = 1; break;
            case Stage::Surveyed: reached = 2; break;
            case Stage::Quoted: reached = 3; break;
            case Stage::AwaitingParts: reached = 4; break;
            case Stage::InProgress:
            case Stage::Other: reached = 5; break;
            default: reached = 6; break;
        }
        if (t.cancelled) {
            reached = t.quoted ? 3 : dice_.between(1, 2);
        }
        if (reached == 0 && dice_.chance(0.5)) {
            return {};
        }
        const QString who = engineer.isEmpty() ? QStringLiteral("Engineer")
                                               : engineer.section(u' ', 0, 0);
        QStringList out;
        qint64 cursor = t.created;
        auto add = [&](qint64 moment, const QString& text) {
            cursor = std::min(end_, std::max(cursor, moment));
            out << noteStamp(cursor) + QStringLiteral(" : ") + text;
        };
        // The next dated step of the job; the notes in between stay before it.
        auto next = [&]() {
            for (qint64 m : {t.quoted, t.completed, t.invoiced}) {
                if (m > cursor) {
                    return m;
                }
            }
            return std::min(end_, cursor + 7 * kDay);
        };
        // A note on the way to the next step, left out when there is no time for it.
        auto addSoon = [&](const QString& text) {
            const qint64 limit = next();
            if (limit - cursor < kHour) {
                return;
            }
            add(officeBetween(cursor + 10 * 60, limit - 10 * 60), text);
        };
        static const QStringList weekdays =
            utf8({"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"});

        add(t.created + dice_.below(20 * 60), dice_.pick(logged));
        if (reached >= 1) {
            const int calls = dice_.weighted({40, 40, 20});
            for (int i = 0; i < calls; ++i) {
                addSoon(dice_.pick(chasing));
            }
            if (reached >= 2 || dice_.chance(0.5)) {
                addSoon(dice_.pick(booked).arg(dice_.pick(weekdays)));
            }
        }
        if (reached >= 2) {
            addSoon(dice_.pick(surveyed).arg(who));
        }
        if (t.quoted) {
            add(t.quoted, dice_.pick(quoting));
            if (reached == 3 && dice_.chance(0.5)) {
                add(officeAfter(cursor, 3, 10), QStringLiteral("Chased client for approval of quote"));
            }
            if (reached >= 4) {
                addSoon(QStringLiteral("Quote approved by client"));
            }
        }
        const bool parts = reached == 4 || (reached >= 5 && dice_.chance(0.3));
        if (parts) {
            addSoon(QStringLiteral("Parts ordered from merchant, due in %1 days")
                        .arg(dice_.between(2, 10)));
            if (reached >= 5) {
                addSoon(QStringLiteral("Parts arrived, engineer booked"));
            }
        }
        if (reached == 5) {
            addSoon(QStringLiteral("%1 attended, work in progress").arg(who));
        }
        if (t.completed) {
            add(t.completed, dice_.pick(done).arg(who));
        }
        if (t.noCharge) {
            add(officeAfter(cursor, 0, 2), QStringLiteral("No charge - work under warranty"));
        }
        if (t.invoiced) {
            add(t.invoiced, QStringLiteral("Invoice sent to client"));
            if (t.paid) {
                add(officeAfter(cursor, 5, 45), dice_.pick(paidNotes));
            }
        }
        if (t.cancelled) {
            add(officeAfter(cursor, 1, 20), QStringLiteral("Job cancelled by client"));
        }
        return out.join(kCrLf);
    }

    QString clientRef(Client& client, qint64 created) {
        const int n = client.nextRef++;
        const int year = QDateTime::fromSecsSinceEpoch(created, Qt::UTC).date().year();
        switch (client.refStyle) {
            case 0:
                return client.initials + u'/' + QString::number(year) + u'/' +
                       QStringLiteral("%1").arg(n % 10000, 4, 10, QChar(u'0'));
            case 1:
                return client.initials + u'-' + QString::number(100000 + n * 7 % 900000);
            default:
                return QStringLiteral("WO %1").arg(500000 + n);
        }
    }

    QString custRef() {
        switch (dice_.weighted({45, 20, 15, 10, 10})) {
            case 0: return {};
            case 1: return QStringLiteral("Claim %1").arg(dice_.between(10000000, 99999999));
            case 2:
                return QStringLiteral("Policy %1%2-%3")
                    .arg(QChar(u'A' + dice_.below(26)))
                    .arg(QChar(u'A' + dice_.below(26)))
                    .arg(dice_.between(100000, 999999));
            case 3: return QStringLiteral("PO %1").arg(dice_.between(10000, 99999));
            default: return QStringLiteral("T/%1").arg(dice_.between(100, 9999));
        }
    }

    QString insertJobs() {
        if (size_.jobs > 0 && customers_.empty()) {
            return QStringLiteral("Jobs need at least one customer.");
        }
        const QString date = db_.dialect().quote(QStringLiteral("Date"));
        Insert jobs(db_.handle(), QStringLiteral("Jobs"),
                    {QStringLiteral("JobNo"), QStringLiteral("JobStatus"),
                     QStringLiteral("IntroducedBy"), QStringLiteral("WorkName"),
                     QStringLiteral("HomeAddress"), QStringLiteral("HomeNumbers"),
                     QStringLiteral("WorkDetails"), QStringLiteral("WorkNotes"),
                     QStringLiteral("ClientRef"), QStringLiteral("CliName"),
                     QStringLiteral("CliAddress"), QStringLiteral("CliNumbers"),
                     QStringLiteral("CliNotes"), QStringLiteral("DateCreated"),
                     QStringLiteral("DateReceived"), QStringLiteral("DateDue"),
                     QStringLiteral("DateCompleted"), QStringLiteral("DateQuoted"),
                     QStringLiteral("InvoiceStatus"), date, QStringLiteral("Price"),
                     QStringLiteral("CustRef"), QStringLiteral("Unused1"),
                     QStringLiteral("Unused2"), QStringLiteral("Unused3"),
                     QStringLiteral("Unused4"), QStringLiteral("Unused5"),
                     QStringLiteral("Unused6"), QStringLiteral("Unused7")});
        Insert docs(db_.handle(), QStringLiteral("Docs"),
                    {QStringLiteral("JobNumber"), QStringLiteral("FileName"), date,
                     QStringLiteral("Title"), QStringLiteral("AddressType"),
                     QStringLiteral("DocType")});

        std::vector<qint64> created(size_t(std::max(size_.jobs, 0)));
        for (qint64& c : created) {
            c = workingMoment();
        }
        std::sort(created.begin(), created.end());

        std::vector<Stage> stages;
        for (const QString& s : statuses_) {
            stages.push_back(stageOf(s));
        }
        static const QStringList accessNotes =
            utf8({"Access via agent - keys at branch", "Tenant to let in", "Key safe - code 4471",
                  "Call 30 minutes before arriving", "Rear access only"});
        static const QStringList pets = utf8({"Dog", "Two cats", "Dog - keep gate shut"});
        std::vector<double> weights(statuses_.size());
        qint64 fileNo = 0;

        for (int i = 0; i < size_.jobs; ++i) {
            const qint64 jobNo = i + 1;
            const qint64 made = created[size_t(i)];
            const qint64 ageDays = (end_ - made) / kDay;
            for (size_t s = 0; s < stages.size(); ++s) {
                weights[s] = stageWeight(stages[s], ageDays);
            }
            const int statusIndex = dice_.weighted(weights);
            const QString& status = statuses_[statusIndex];
            const Stage stage = stages[size_t(statusIndex)];
            const bool cancelled = stage == Stage::Closed && dice_.chance(0.08);
            const bool finished = !cancelled && (stage == Stage::Completed ||
                                                 stage == Stage::Invoiced ||
                                                 stage == Stage::Closed);
            const bool quoted =
                stage == Stage::Quoted ||
                ((stage == Stage::AwaitingParts || stage == Stage::InProgress || finished ||
                  cancelled) &&
                 dice_.chance(0.6));

            Customer& customer = customers_[size_t(dice_.below(qsizetype(customers_.size())))];
            Client& client = dice_.chance(0.85)
                                 ? clients_[size_t(customer.client)]
                                 : clients_[size_t(dice_.below(qsizetype(clients_.size())))];

            // Created, then received, then due; quoted, completed and invoiced follow in order.
            qint64 cursor = made;
            const qint64 received = dice_.chance(0.97) ? officeAfter(made, 0, 2) : 0;
            if (received) {
                cursor = received;
            }
            const qint64 dueDay = cursor + (2 + dice_.below(33)) * kDay;
            const qint64 due = dice_.chance(0.85) ? dueDay - dueDay % kDay : 0;
            const qint64 quotedAt = quoted ? officeAfter(cursor, 1, 10) : 0;
            if (quotedAt) {
                cursor = quotedAt;
            }
            const qint64 completed = finished ? officeAfter(cursor, 1, 45) : 0;
            if (completed) {
                cursor = completed;
            }

            QString invoiceStatus;
            qint64 invoiced = 0;
            double price = 0;
            bool noCharge = false;
            const bool priced = !cancelled && (finished || quoted || dice_.chance(0.3));
            if (priced) {
                const double u = dice_.real();
                price = money(55 + 3400 * u * u * u + dice_.below(100));
                if (dice_.chance(0.5)) {
                    price = std::round(price);
                }
            }
            if (stage == Stage::Completed) {
                invoiceStatus = dice_.chance(0.85) ? QStringLiteral("Awaiting Invoicing")
                                                   : QString();
            } else if (stage == Stage::Invoiced) {
                invoiceStatus = dice_.chance(0.65) ? QStringLiteral("Awaiting Payment")
                                                   : QStringLiteral("Payment Received");
                invoiced = officeAfter(cursor, 0, 10);
            } else if (finished) {
                if (dice_.chance(0.95)) {
                    invoiceStatus = QStringLiteral("Payment Received");
                    invoiced = officeAfter(cursor, 0, 10);
                } else {
                    noCharge = true;
                    price = 0;
                }
            }
            if (invoiced) {
                cursor = invoiced;
            }

            const QString engineer =
                !engineers_.isEmpty() && dice_.chance(0.65) ? dice_.pick(engineers_) : QString();
            Timeline timeline;
            timeline.stage = stage;
            timeline.cancelled = cancelled;
            timeline.noCharge = noCharge;
            timeline.paid = invoiceStatus == QLatin1String("Payment Received");
            timeline.created = made;
            timeline.quoted = quotedAt;
            timeline.completed = completed;
            timeline.invoiced = invoiced;
            const QString notes = workNotes(timeline, engineer);
            const QString certificate =
                finished && dice_.chance(0.12)
                    ? QStringLiteral("Cert no. %1-%2")
                          .arg(dice_.between(100, 999))
                          .arg(dice_.between(10000, 99999))
                    : QString();
            const QString warranty =
                finished && dice_.chance(0.03)
                    ? QString(QStringLiteral("Warranty until ") +
                              QDateTime::fromSecsSinceEpoch(completed, Qt::UTC)
                                  .date()
                                  .addYears(dice_.chance(0.5) ? 1 : 2)
                                  .toString(QStringLiteral("dd/MM/yyyy")))
                    : QString();

            if (!jobs.run({jobNo,
                           status,
                           introducer(client.kind),
                           customer.name,
                           customer.address,
                           customer.contact,
                           workDetails(dice_),
                           notes,
                           clientRef(client, made),
                           client.name,
                           client.address,
                           client.contact,
                           client.notes,
                           stored(made),
                           storedOrNull(received),
                           storedOrNull(due),
                           storedOrNull(completed),
                           storedOrNull(quotedAt),
                           invoiceStatus,
                           storedOrNull(invoiced),
                           price,
                           custRef(),
                           engineer,
                           dice_.chance(0.25) ? dice_.pick(accessNotes) : QString(),
                           certificate,
                           dice_.chance(0.08) ? QStringLiteral("Keys: with agent") : QString(),
                           dice_.chance(0.05) ? QStringLiteral("Parking permit required")
                                              : QString(),
                           dice_.chance(0.04) ? dice_.pick(pets) : QString(),
                           warranty})) {
                return jobs.error();
            }

            // The documents written for the job, most for the jobs that went furthest.
            const int docCount =
                finished ? dice_.weighted({5, 15, 35, 30, 15})
                : stage == Stage::New || stage == Stage::AwaitingSurvey
                    ? dice_.weighted({70, 30})
                    : dice_.weighted({25, 45, 25, 5});
            static const QStringList earlyLetters =
                utf8({"Job Sheet", "Appointment Letter", "Letter to Customer", "Letter to Client"});
            static const QStringList quoteLetters =
                utf8({"Quotation", "Report to Loss Adjuster", "Letter to Client"});
            static const QStringList finalLetters =
                utf8({"Invoice", "Completion Certificate", "Letter to Customer"});
            static const QStringList sheets =
                utf8({"Costings", "Measured Survey", "Price Breakdown", "Schedule of Works"});
            qint64 docMoment = made;
            for (int d = 0; d < docCount; ++d) {
                const bool sheet = dice_.chance(0.2);
                ++fileNo;
                docMoment = officeBetween(docMoment + 5 * 60, std::max(cursor, docMoment + kDay));
                QString title;
                if (sheet) {
                    title = dice_.pick(sheets);
                } else if (finished && d == docCount - 1) {
                    title = dice_.pick(finalLetters);
                } else if (quotedAt && d > 0) {
                    title = dice_.pick(quoteLetters);
                } else {
                    title = dice_.pick(earlyLetters);
                }
                if (dice_.chance(0.3)) {
                    title += QStringLiteral(" - ") + customer.name;
                }
                if (!docs.run({jobNo,
                               QString(QString::number(fileNo) +
                                       (sheet ? QStringLiteral(".XLS") : QStringLiteral(".doc"))),
                               stored(docMoment), title, QString(), QString()})) {
                    return docs.error();
                }
            }
        }
        counts_.jobs = jobs.rows();
        counts_.docs = docs.rows();
        counts_.lastJobNo = size_.jobs;
        lastFileNo_ = fileNo;
        return {};
    }

    QString insertEstimates() {
        if (size_.estimates > 0 && customers_.empty()) {
            return QStringLiteral("Estimates need at least one customer.");
        }
        const std::vector<StockItem> items = stockItems(dice_);
        Insert stock(db_.handle(), QStringLiteral("Stock"), {QStringLiteral("Description")});
        for (const StockItem& item : items) {
            if (!stock.run({item.description})) {
                return stock.error();
            }
        }
        counts_.stock = stock.rows();

        Insert lines(db_.handle(), QStringLiteral("Estimate"),
                     {QStringLiteral("EstNo"), QStringLiteral("ClientId"),
                      QStringLiteral("DeliveryCost"), QStringLiteral("Qty"),
                      QStringLiteral("Description"), QStringLiteral("TradePrice"),
                      QStringLiteral("RetailPrice"), QStringLiteral("DateCreated")});
        Insert printings(db_.handle(), QStringLiteral("EstimateDocs"),
                         {QStringLiteral("DateCreated"), QStringLiteral("EstNo"),
                          QStringLiteral("PrintNo"), QStringLiteral("TotalQty"),
                          QStringLiteral("TotalPrice")});
        std::vector<qint64> created(size_t(std::max(size_.estimates, 0)));
        for (qint64& c : created) {
            c = workingMoment();
        }
        std::sort(created.begin(), created.end());
        static const double deliveries[] = {9.95, 15.00, 25.00, 35.00, 45.50};
        for (int e = 0; e < size_.estimates; ++e) {
            const int estNo = kFirstEstimate + e;
            const qint64 made = created[size_t(e)];
            const QString day = ukDate(made);
            const qint64 customer =
                customers_[size_t(dice_.below(qsizetype(customers_.size())))].id;
            const double delivery = dice_.chance(0.55) ? 0.0 : deliveries[dice_.below(5)];
            const double markup = 1.2 + 0.3 * dice_.real();
            const int count = dice_.between(1, 8);
            double totalQty = 0;
            double total = delivery;
            for (int l = 0; l < count; ++l) {
                const StockItem& item = items[size_t(dice_.below(qsizetype(items.size())))];
                double qty = 1;
                switch (item.qtyKind) {
                    case 0: qty = dice_.weighted({50, 20, 10, 10, 5, 5}) + 1; break;
                    case 1: qty = dice_.between(2, 60) / 2.0; break;
                    case 2: qty = dice_.between(1, 32) / 2.0; break;
                    default: qty = dice_.between(1, 5); break;
                }
                const double retail = money(item.tradePrice * markup);
                totalQty += qty;
                total += qty * retail;
                if (!lines.run({estNo, customer, delivery, qty, item.description, item.tradePrice,
                                retail, day})) {
                    return lines.error();
                }
            }
            const int prints = dice_.weighted({25, 45, 20, 10});
            qint64 printed = made;
            for (int p = 1; p <= prints; ++p) {
                printed = after(printed, 10 * 60, 20 * kDay);
                if (!printings.run({ukDate(printed), estNo, p, qint64(std::llround(totalQty)),
                                    money(total)})) {
                    return printings.error();
                }
            }
        }
        counts_.estimates = size_.estimates;
        counts_.estimateLines = lines.rows();
        counts_.estimateDocs = printings.rows();
        return {};
    }

    QString setCounters() {
        const qint64 nextFile = lastFileNo_ + 1;
        if (!db_.exec(QStringLiteral("UPDATE Counters SET JobCounter = ?, FileCounter = ?, "
                                     "Free2 = ?, Estimate = ?"),
                      {qint64(size_.jobs) + 1, nextFile, nextFile,
                       kFirstEstimate + qint64(std::max(size_.estimates, 0))})) {
            return db_.lastError().message;
        }
        if (db_.rowsAffected() != 1) {
            return QStringLiteral("The database has no Counters row.");
        }
        return {};
    }

    static constexpr int kFirstEstimate = 1000;

    Database& db_;
    DataSize size_;
    Dice dice_;
    People people_;
    qint64 start_ = 0;
    qint64 end_ = 0;
    QStringList statuses_;
    QStringList introducers_;
    QStringList engineers_;
    std::vector<Client> clients_;
    std::vector<Customer> customers_;
    qint64 lastFileNo_ = 0;
    RowCounts counts_;
};

}  // namespace

QString fill(Database& db, const DataSize& size, quint32 seed, const QDate& until,
             RowCounts* counts) {
    if (size.jobs < 0 || size.customers < 0 || size.clients < 0 || size.engineers < 0 ||
        size.estimates < 0) {
        return QStringLiteral("Sizes cannot be negative.");
    }
    if (!until.isValid()) {
        return QStringLiteral("The closing date is not a date.");
    }
    if (!db.isOpen()) {
        return QStringLiteral("The database is not open.");
    }
    Transaction tx(db);
    if (!tx.active()) {
        return db.lastError().message;
    }
    // The indexes are taken away while the rows go in and made again from their own definitions
    // afterwards: building an index over the finished table is much quicker than keeping it up
    // to date row by row.
    const auto indexes = db.query(QStringLiteral(
        "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
    if (!indexes) {
        return db.lastError().message;
    }
    for (int i = 0; i < indexes->count(); ++i) {
        if (!db.exec(QStringLiteral("DROP INDEX ") +
                     db.dialect().quote(indexes->at(i, 0).toString()))) {
            return db.lastError().message;
        }
    }
    // The text indexes likewise: built in one pass over the finished rows.
    if (!textindex::drop(db)) {
        return db.lastError().message;
    }
    RowCounts written;
    Generator generator(db, size, seed, until);
    if (const QString why = generator.run(written); !why.isEmpty()) {
        return why;
    }
    // The folded copies and sort keys the program keeps beside the texts.
    if (!textkeys::refill(db, textkeys::Refill::Missing)) {
        return db.lastError().message;
    }
    for (int i = 0; i < indexes->count(); ++i) {
        if (!db.exec(indexes->at(i, 1).toString())) {
            return db.lastError().message;
        }
    }
    QElapsedTimer building;
    building.start();
    if (!textindex::create(db)) {
        return db.lastError().message;
    }
    written.textIndexSeconds = double(building.nsecsElapsed()) / 1e9;
    if (!tx.commit()) {
        return db.lastError().message;
    }
    if (counts) {
        *counts = written;
    }
    return {};
}

QString createFile(const QString& file, const DataSize& size, quint32 seed, const QDate& until,
                   RowCounts* counts) {
    if (QFileInfo::exists(file)) {
        return QStringLiteral("'%1' already exists.").arg(file);
    }
    // Filled beside the target and moved into place only when complete.
    const QString part = file + QStringLiteral(".filling");
    QFile::remove(part);
    QString failure = schema::createDatabaseFile(part);
    if (failure.isEmpty()) {
        Database db;
        if (!db.open(connection::forFile(part))) {
            failure = db.lastError().message;
        } else {
            // A half-written file is thrown away, so the rollback journal buys nothing here; a
            // large page cache keeps the indexes being filled out of the file until the commit.
            db.exec(QStringLiteral("PRAGMA journal_mode = OFF"));
            db.exec(QStringLiteral("PRAGMA cache_size = -262144"));
            failure = fill(db, size, seed, until, counts);
        }
        db.close();
    }
    if (failure.isEmpty() && !QFile::rename(part, file)) {
        failure = QStringLiteral("'%1' cannot be put in place.").arg(file);
    }
    if (!failure.isEmpty()) {
        QFile::remove(part);
    }
    return failure;
}

}  // namespace benchdata
