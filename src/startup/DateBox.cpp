#include "startup/DateBox.h"

#include "platform/Prompter.h"
#include "startup/AppState.h"
#include "startup/DateFormats.h"

#include <QLineEdit>

void ValidateDateBox(AppState& app, QLineEdit* box) {
    const QString text = box->text();
    const datetext::BoxCheck check = checkDateText(app, text);
    if (check.valid) {
        box->setText(check.text);
        return;
    }
    if (app.ForceDateValidation) {
        app.prompter.message(
            QStringLiteral("The date you have entered is not valid\r\nplease try again"),
            QStringLiteral("Invalid Date: ") + text, Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        box->setFocus();
    }
}
