#include "shell/about_box.h"

#include "crypto/secret_key.h"
#include "shell/main_window.h"
#include "shell/program_icon.h"
#include "spelling/spelling_languages.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>
#include <libdeflate.h>
#include <zlib.h>

#ifndef QUILLMERE_VERSION
#error "QUILLMERE_VERSION comes from the project's version in the top CMakeLists.txt"
#endif

namespace quillmere {

namespace {

#define QUILLMERE_STRINGIFY_(x) #x
#define QUILLMERE_STRINGIFY(x) QUILLMERE_STRINGIFY_(x)

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

}  // namespace

QString AboutBox::nameAndVersion() {
    return QStringLiteral("Quillmere " QUILLMERE_VERSION);
}

QStringList AboutBox::libraries() {
    QStringList list;
    list << QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()));
    list << QStringLiteral("zlib %1").arg(QString::fromLatin1(zlibVersion()));
    list << QStringLiteral("libdeflate " LIBDEFLATE_VERSION_STRING);
#ifdef LIBJPEG_TURBO_VERSION
    list << QStringLiteral("libjpeg-turbo " QUILLMERE_STRINGIFY(LIBJPEG_TURBO_VERSION));
#else
    list << QStringLiteral("libjpeg %1").arg(JPEG_LIB_VERSION);
#endif
    list << QStringLiteral("libsodium %1").arg(crypto::sodiumVersion());
    list << QStringLiteral("Enchant %1").arg(spelling::enchantVersion());
    return list;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Quillmere"));
    auto* layout = new QVBoxLayout(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIconPixmap(48));
    icon->setAlignment(Qt::AlignHCenter);
    icon->setAccessibleName(tr("Quillmere icon"));
    layout->addWidget(icon);

    title = new QLabel(nameAndVersion(), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);

    layout->addWidget(wrappedLabel(tr("A diary: one rich-text entry for every day, kept in "
                                      "one file on your computer."),
                                   this));

    licence = wrappedLabel(
        tr("Free software under the GNU General Public License, version 3 or (at your option) "
           "any later version (GPL-3.0-or-later). It comes with ABSOLUTELY NO WARRANTY."),
        this);
    layout->addWidget(licence);

    const QString url = QString::fromLatin1(kHomePageUrl);
    homePage = new QLabel(
        tr("Home page: %1").arg(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped())),
        this);
    homePage->setTextFormat(Qt::RichText);
    homePage->setOpenExternalLinks(true);
    // Tab reaches the link and Enter opens it.
    homePage->setTextInteractionFlags(Qt::TextBrowserInteraction);
    homePage->setFocusPolicy(Qt::TabFocus);
    homePage->setAccessibleName(tr("Home page: %1").arg(url));
    layout->addWidget(homePage);

    libraryList =
        wrappedLabel(tr("Built on: %1.").arg(libraries().join(QStringLiteral(", "))), this);
    layout->addWidget(libraryList);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    btnClose = buttons->button(QDialogButtonBox::Close);
    btnClose->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    setMinimumWidth(380);
    btnClose->setFocus();
}

}  // namespace quillmere
