#pragma once

#include "common/TReg.h"
#include "db/ChangeWatcher.h"
#include "db/Database.h"
#include "db/RowVersion.h"
#include "db/ServerLink.h"
#include "records/CaptionSet.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class Prompter;
class Launcher;
class Clock;
class ScreenMetrics;
class DriveRoots;
class SystemLocale;
class FolderSharing;
class Progress;

// The platform services a run of the program uses; tests hand in their doubles.
struct Services {
    Prompter& prompter;
    Launcher& launcher;
    Clock& clock;
    ScreenMetrics& screen;
    DriveRoots& roots;
    SystemLocale& locale;
    FolderSharing& sharing;
};

// The values every screen shares, made by the start-up sequence and handed by reference to
// each screen, with the platform services they use.
class AppState : public Services {
public:
    static constexpr int kCaptionCount = CaptionSet::kCount;

    explicit AppState(const Services& services);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    TReg AppSettings;
    Database DbConnection;
    QString ConnectionString;
    // What other workstations change, and the connection to a database server that may go
    // away; both follow DbConnection once started.
    ChangeWatcher changes{DbConnection};
    ServerLink server{DbConnection, prompter};
    // How this workstation is named beside the versions it saves: "user on computer".
    QString Workstation;
    CaptionSet FieldCaptions;

    bool ForceDateValidation = false;
    bool UseSystemDateFormat = false;
    bool ManualNumbering = false;
    bool VatRegistered = false;
    bool PrintCount = false;
    bool JustPrint = false;
    bool BackgroundPrinting = false;

    QString CurrencySymbol;
    QString DefaultDateFormat;
    QString TemplateFolder;
    bool StartupComplete = false;

    // Who saves now, for the version a save writes.
    SaveStamp saveStamp() const;

    // Offers to convert a database of the earlier Windows release before it is opened; set by
    // the programs, absent where none is offered.
    std::function<bool(const QString& file)> offerJetConversion;
    // Shows the database locator modally; set by the screens, absent in headless use.
    std::function<void()> showLocator;
    // Shows the setup screen modally on its network tab; set by the screens, absent in
    // headless use.
    std::function<void()> showNetworkSetup;
    // True while the locator is on screen, so a failing open inside it does not ask for a
    // second one.
    bool locatorShowing = false;
    // Shows how far a conversion of an older database has got; absent in headless use.
    Progress* conversionProgress = nullptr;

    // The one open instance of each modeless screen, by the screen's name.
    QObject* openScreen(const QString& name) const { return screens_.value(name).data(); }
    void registerScreen(const QString& name, QObject* screen) { screens_.insert(name, screen); }
    // The names of the modeless screens open now, in name order.
    QStringList openScreenNames() const;

private:
    QHash<QString, QPointer<QObject>> screens_;
};
