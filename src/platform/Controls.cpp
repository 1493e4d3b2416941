#include "Controls.h"

#include <QPushButton>

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}
