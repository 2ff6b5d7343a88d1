// The window in another language: every menu, button, label and dialog shows the translation, none of the
// source texts that translation replaces, and sizes are written as the locale writes numbers.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/messages.h"
#include "ui/translations.h"

#include "ui/layout_check.h"
#include "ui/window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolButton>
#include <QTranslator>
#include <QXmlStreamReader>

#include <set>

namespace tazen::test {

namespace {

QString withoutAccelerator(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// The source texts a translation file gives otherwise: none of them may be shown in its language.
std::set<QString> replacedSources(const QString& language)
{
    QFile file(QStringLiteral(TAZEN_SOURCE_DIR "/translations/tazen_") + language + QStringLiteral(".ts"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    std::set<QString> replaced;
    QXmlStreamReader reader(&file);
    QString source;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        // The texts walked hold no line breaks, the one kind of child element (<byte>) a text may have.
        if (reader.name() == QLatin1String("source"))
            source = withoutAccelerator(reader.readElementText(QXmlStreamReader::SkipChildElements));
        else if (reader.name() == QLatin1String("translation") &&
                 withoutAccelerator(reader.readElementText(QXmlStreamReader::SkipChildElements)) != source)
            replaced.insert(source);
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return replaced;
}

// What a window shows in text: its title, its menus, buttons, tooltips, labels and group titles.
QStringList shownTexts(QWidget& window)
{
    QStringList texts{window.windowTitle()};
    for (const QMenu* menu : window.findChildren<QMenu*>()) {
        texts << menu->title();
        for (const QAction* action : menu->actions())
            texts << action->text();
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts << button->text() << button->toolTip();
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    for (const QGroupBox* group : window.findChildren<QGroupBox*>())
        texts << group->title();
    texts.removeAll(QString());
    return texts;
}

// Installed before the window is made, as the program does, and taken away after it, so the other tests
// see the texts as they are written.
struct Language
{
    explicit Language(const QLocale& locale) : before(QLocale()), chosen(InstallTranslations(locale))
    {
        QLocale::setDefault(locale);
    }
    ~Language()
    {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        TranslateTextsWith(nullptr);
        QLocale::setDefault(before);
    }
    QLocale before;
    QString chosen;
};

struct German : Language
{
    German() : Language(QLocale(QLocale::German, QLocale::Germany)) {}
};

struct Untranslated : Language
{
    Untranslated() : Language(QLocale::c()) {}
};

template <typename Chosen> class ChosenLanguageTest : public Chosen, public WindowTest
{
};

using GermanWindowTest = ChosenLanguageTest<German>;
using UntranslatedWindowTest = ChosenLanguageTest<Untranslated>;

class TranslatedWindowTest : public testing::WithParamInterface<const char*>, public Language, public WindowTest
{
protected:
    TranslatedWindowTest() : Language(QLocale(QString::fromLatin1(GetParam()))) {}
};

} // namespace

// In each language: no source text that the translation replaces is shown, and every dialog holds its texts
// whole, however much longer they are than the source's.
TEST_P(TranslatedWindowTest, ShowsItsOwnTextsWhole)
{
    ASSERT_EQ(chosen, QString::fromLatin1(GetParam()));
    progressDialog.StartProgress(RunTitle(Direction::Encrypt), "2");
    shredDialog.SetCaption(Text(kShredCaption));
    shredDialog.lblHead().SetCaption(Text(kShredHead));
    passwordDlg.ShowStrength(true);
    form.SetEncryptMode(true);
    const std::set<QString> replaced = replacedSources(chosen);
    qsizetype walked = 0;
    for (QWidget* window : std::initializer_list<QWidget*>{&form, &passwordDlg, &progressDialog, &settingsDialog,
                                                           &aboutBox, &shredDialog}) {
        const QStringList texts = shownTexts(*window);
        walked += texts.size();
        for (const QString& text : texts)
            EXPECT_EQ(replaced.count(withoutAccelerator(text)), 0U)
                << window->objectName().toStdString() << " shows " << text.toStdString();
        if (window != &form) {
            window->show();
            expectNothingCutOff(*window);
            window->hide();
        }
    }
    progressDialog.HideProgress();
    EXPECT_GT(walked, 60);
    // The Swedish hints of the toolbar, in English too.
    if (chosen == QLatin1String("en")) {
        EXPECT_EQ(form.btnSettings().toolTip(), QStringLiteral("Change settings"));
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedWindowTest, testing::ValuesIn(kTranslatedLanguages));

TEST_F(GermanWindowTest, WritesSizesAndMessagesInGerman)
{
    form.SetEncryptMode(true);
    form.AddFileList({makeFile("big", std::string(1234 * 1024, 'x'))});
    EXPECT_EQ(sizeOf(0), QStringLiteral("1.234 KB"));

    RunOutcome outcome;
    outcome.failure = Failure::WrongPassword;
    outcome.file = "/a/b";
    const std::string message = MessageText(outcome);
    EXPECT_NE(message, "Wrong password for the file: /a/b");
    EXPECT_NE(message.find("/a/b"), std::string::npos) << message;
}

// A locale TaZEN has no translation for shows the texts as they are written, and numbers without grouping.
TEST_F(UntranslatedWindowTest, ShowsTextsAsWritten)
{
    EXPECT_TRUE(chosen.isEmpty());
    form.SetEncryptMode(true);
    form.AddFileList({makeFile("big", std::string(1234 * 1024, 'x'))});
    EXPECT_EQ(sizeOf(0), QStringLiteral("1234 KB"));
    EXPECT_EQ(form.btnSettings().toolTip(), QStringLiteral("Ändra inställningar"));
}

} // namespace tazen::test
