#include "shell/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quillmere {

namespace {

std::unique_ptr<QTranslator> loadTranslator(const QLocale& locale, const QString& baseName,
                                            const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, baseName, QStringLiteral("_"), folder)) {
        return nullptr;
    }
    return translator;
}

std::unique_ptr<QTranslator> installed(std::unique_ptr<QTranslator> translator) {
    if (translator && !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

}  // namespace

Translations::Translations(const QLocale& locale) {
    program_ = installed(loadTranslator(locale, QString::fromLatin1(kTranslationsBaseName),
                                        QString::fromLatin1(kTranslationsFolder)));
    // Qt's own texts only where the program speaks the language too, so a
    // window never mixes a translated dialog with English windows around it.
    if (program_) {
        qt_ = installed(loadTranslator(locale, QStringLiteral("qtbase"),
                                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    }
}

Translations::~Translations() {
    if (qt_) {
        QCoreApplication::removeTranslator(qt_.get());
    }
    if (program_) {
        QCoreApplication::removeTranslator(program_.get());
    }
}

bool Translations::programTranslated() const {
    return program_ != nullptr;
}

bool Translations::qtTranslated() const {
    return qt_ != nullptr;
}

QString TranslateBeforeStart(const char* context, const char* source) {
    QTranslator translator;
    if (translator.load(QLocale::system(), QString::fromLatin1(kTranslationsBaseName),
                        QStringLiteral("_"), QString::fromLatin1(kTranslationsFolder))) {
        const QString text = translator.translate(context, source);
        if (!text.isEmpty()) {
            return text;
        }
    }
    return QString::fromUtf8(source);
}

}  // namespace quillmere
