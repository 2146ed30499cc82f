// The settings window's "Spelling" choice. It sits below "Skip empty
// entries", the other choice that acts at once: the window grows by one row
// and the Save and Cancel buttons move down with it; every other control
// keeps its place.
#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "shell/dialog_frame.h"
#include "shell/settings_window.h"
#include "store/journal_session.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>

namespace quillmere {

namespace {

constexpr int kSpellingRowHeight = 48;
constexpr int kLanguageListWidth = 250;

}  // namespace

void TfrmSettings::buildSpellingChoice() {
    setFixedSize(width(), height() + kSpellingRowHeight);
    for (TRbButton* button : {btnSave, btnCancel}) {
        button->move(button->x(), button->y() + kSpellingRowHeight);
    }

    lblSpelling = new QLabel(tr("Spelling"), RbPanel8);
    lblSpelling->setObjectName(QStringLiteral("lblSpelling"));
    lblSpelling->setFont(ArialPixels(13));
    SetBlackText(lblSpelling);
    lblSpelling->move(32, 330);
    lblSpelling->adjustSize();

    cmbSpelling = new QComboBox(RbPanel8);
    cmbSpelling->setObjectName(QStringLiteral("cmbSpelling"));
    cmbSpelling->setGeometry(32, 346, 169, 22);
    cmbSpelling->setFont(ArialPixels(13));
    cmbSpelling->setAccessibleName(tr("Spelling"));
    cmbSpelling->view()->setMinimumWidth(kLanguageListWidth);
    lblSpelling->setBuddy(cmbSpelling);
    connect(cmbSpelling, &QComboBox::activated, this, [this](int index) {
        const QString choice = cmbSpelling->itemData(index).toString();
        FontSettings settings = session_.fontSettings();
        settings.spelling = choice;
        session_.setFontSettings(settings);
        emit spellingChosen(choice);
    });
    setTabOrder(ColorBox1, cmbSpelling);
}

void TfrmSettings::fillSpellingChoice() {
    const QList<spelling::DictionaryLanguage> languages =
        dictionaryList ? dictionaryList() : QList<spelling::DictionaryLanguage>();
    QStringList tags;
    cmbSpelling->clear();
    cmbSpelling->addItem(tr("Off"), QString::fromLatin1(spelling::kSpellingOff));
    for (const spelling::DictionaryLanguage& language : languages) {
        cmbSpelling->addItem(language.name, language.tag);
        tags.append(language.tag);
    }
    cmbSpelling->setToolTip(
        languages.isEmpty()
            ? tr("No spelling dictionary is installed. Install the Debian package %1 (or the "
                 "hunspell package of your language) to check spelling.")
                  .arg(QString::fromLatin1(spelling::kDictionaryPackage))
            : tr("The language misspelt words are underlined in, or Off"));
    const QString inUse =
        spelling::effectiveDictionary(session_.fontSettings().spelling, tags, QLocale());
    const int index = inUse.isEmpty() ? 0 : cmbSpelling->findData(inUse);
    cmbSpelling->setCurrentIndex(std::max(0, index));
}

}  // namespace quillmere
