#include "records/AppState.h"

#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QSysInfo>

AppState::AppState(const Services& services) : Services(services) {
    AppSettings.setKey(TReg::kCurrentUser);
    AppSettings.setPath(QStringLiteral("Software\\Corvane\\Verdell"));
    AppSettings.onWriteFailure = [this](const QString& why) {
        prompter.message(why, QStringLiteral("Settings Not Saved"), Prompter::Buttons::Ok,
                         Prompter::Icon::Critical);
    };
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) {
        user = qEnvironmentVariable("USERNAME");
    }
    const QString computer = QSysInfo::machineHostName();
    Workstation = user.isEmpty() ? computer : user + QStringLiteral(" on ") + computer;
}

SaveStamp AppState::saveStamp() const {
    return {Workstation, clock.now()};
}

QStringList AppState::openScreenNames() const {
    QStringList names;
    for (auto it = screens_.cbegin(); it != screens_.cend(); ++it) {
        if (it.value()) {
            names << it.key();
        }
    }
    names.sort();
    return names;
}
