#include "widgets/DateBox.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/DateFormats.h"

#include <QLineEdit>

namespace {

const char* const kShownText = "verdellShownText";
const char* const kShownDate = "verdellShownDate";

}  // namespace

void showBoxDate(QLineEdit* box, const datetext::Shown& shown) {
    box->setText(shown.text);
    box->setProperty(kShownText, shown.text);
    box->setProperty(kShownDate, shown.date);
}

datetext::Shown boxDate(const QLineEdit* box) {
    const QString text = box->text();
    if (text != box->property(kShownText).toString()) {
        return {text, {}};
    }
    return {text, box->property(kShownDate).toDateTime()};
}

void ValidateDateBox(AppState& app, QLineEdit* box) {
    const QString text = box->text();
    if (boxDate(box).date.isValid()) {
        return;  // untouched since it was shown: its date stays as it is
    }
    const datetext::BoxCheck check = checkDateText(app, text);
    if (check.valid) {
        showBoxDate(box, {check.text, check.date});
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
