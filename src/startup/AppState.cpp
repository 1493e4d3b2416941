#include "startup/AppState.h"

#include "platform/Clock.h"

#include <QSysInfo>

AppState::AppState(const Services& services) : Services(services) {
    AppSettings.setKey(TReg::kCurrentUser);
    AppSettings.setPath(QStringLiteral("Software\\Corvane\\Verdell"));
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
