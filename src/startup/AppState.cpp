#include "startup/AppState.h"

#include "platform/Prompter.h"

AppState::AppState(const Services& services) : Services(services) {
    AppSettings.setKey(TReg::kCurrentUser);
    AppSettings.setPath(QStringLiteral("Software\\Corvane\\Verdell"));
    AppSettings.onWriteFailure = [this](const QString& why) {
        prompter.message(why, QStringLiteral("Settings Not Saved"), Prompter::Buttons::Ok,
                         Prompter::Icon::Critical);
    };
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
