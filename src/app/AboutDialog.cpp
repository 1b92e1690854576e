#include "app/AboutDialog.h"

#include "app/BrandSymbol.h"
#include "platform/ui/BundledLicences.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

using namespace Qt::StringLiterals;

QString AboutDialog::versionText()
{
    return u"Version "_s + QStringLiteral(ORVANE_VERSION);
}

QString AboutDialog::licencesText()
{
    QStringList parts;
    for (const ui::BundledLicence &licence : ui::bundledLicences())
        parts.append(licence.work + u"\n\n"_s + licence.text.trimmed());
    return parts.join(u"\n\n\n"_s);
}

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"aboutDialog"_s);
    setWindowTitle(u"About Orvane"_s);
    resize(560, 520);

    auto *symbol = new QLabel(this);
    symbol->setPixmap(brandSymbolIcon().pixmap(64, 64));
    symbol->setAccessibleName(u"Orvane"_s);
    auto *name = new QLabel(u"Orvane"_s, this);
    name->setObjectName(u"aboutNameLabel"_s);
    QFont heading = name->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    heading.setBold(true);
    name->setFont(heading);
    auto *version = new QLabel(versionText(), this);
    version->setObjectName(u"aboutVersionLabel"_s);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *identity = new QVBoxLayout;
    identity->addWidget(name);
    identity->addWidget(version);
    identity->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(symbol);
    top->addLayout(identity, 1);

    auto *caption = new QLabel(u"Bundled fonts and icons, and their licences:"_s, this);
    auto *licences = new QPlainTextEdit(licencesText(), this);
    licences->setObjectName(u"aboutLicencesField"_s);
    licences->setReadOnly(true);
    licences->setAccessibleName(u"Licences"_s);
    caption->setBuddy(licences);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(u"aboutCloseButton"_s);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(caption);
    layout->addWidget(licences, 1);
    layout->addWidget(buttons);
}

} // namespace orvane
