#include "HelpViewer.h"
#include "Module1.h"
#include "UrlRecorder.h"
#include "WebLink.h"
#include "frmabout.h"
#include "frmnotice.h"
#include "frmplayers.h"
#include "frmpoints.h"
#include "frmsplash.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <sys/stat.h>

#include <cerrno>
#include <memory>

namespace {

// Runs a modal dialog, the user's actions arriving from inside its event loop. A failed step
// leaves the dialog open, so a guard ends it rather than letting the test hang.
template <typename Action>
int run_modal(QDialog &dialog, Action action)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
    guard.start(10000);
    QTimer::singleShot(0, &dialog, action);
    return dialog.exec();
}

template <typename T = QWidget>
T *child(const QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

void click_button(const QWidget &parent, const char *name)
{
    QWidget *button = child(parent, name);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the middle of a link's text, as the user would.
void click_link(HelpViewer &viewer, const QString &text)
{
    const QTextCursor found = viewer.document()->find(text);
    QVERIFY(!found.isNull());
    QTextCursor middle(viewer.document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    QTest::mouseClick(viewer.viewport(), Qt::LeftButton, {}, viewer.cursorRect(middle).center());
}

void write_file(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void letsPlaySetsUpTheChosenMatch_data();
    void letsPlaySetsUpTheChosenMatch();
    void choicesAreKeptAcrossShowingsAndClosingOnlyHides();
    void aPastedNameIsCutToWhatABoxHolds();
    void capItRaisesFirstCharacterOnly_data();
    void capItRaisesFirstCharacterOnly();

    void chosenAmountIsKeptAcrossShowings();

    void keysDoWhatEachDialogPromises_data();
    void keysDoWhatEachDialogPromises();

    void noticeIsReusedCentredAndHiddenByEveryWayOfDismissingIt();

    void splashClosesOnSecondTickNotFirst();

    void aboutBoxHotAreaDoesNothingAndOnlyOkTakesFocus();

    void helpFileIsNeverTakenFromTheCurrentDirectory();
    void helpViewerFollowsOnlyJumpsWithinTheFile();
    void helpViewerFindsTheDataDirectoryOfARelocatedInstall();
    void helpViewerShowsTheFileAndReadsNothingElse_data();
    void helpViewerShowsTheFileAndReadsNothingElse();
    void webAddressGoesOnlyToTheDesktopsWebHandler();

private:
    frmplayers &players();
    QDialog *build(const QString &form);
    QString install_beside(const QString &name, const QByteArray &contents);
    QLabel *label(int player) const { return labels_[static_cast<std::size_t>(player - 1)]; }
    QLineEdit *box(int player) { return child<QLineEdit>(players(), qPrintable(QStringLiteral("playname_%1").arg(player))); }

    Module1 settings_;
    std::unique_ptr<QWidget> main_;
    std::array<QLabel *, 4> labels_{};
    std::unique_ptr<frmplayers> players_;
    UrlRecorder browser_;
    QString previous_directory_;
    QTemporaryDir directory_;
    QStringList installed_;
};

void TestDialogs::init()
{
    settings_ = Module1{};
    settings_.start_score = 301;
    main_ = std::make_unique<QWidget>();
    for (std::size_t i = 0; i < labels_.size(); ++i)
        labels_[i] = new QLabel(QStringLiteral("old%1").arg(i + 1), main_.get());
    browser_.opened.clear();
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser_, "open");
    previous_directory_ = QDir::currentPath();
    QVERIFY(directory_.isValid());
}

void TestDialogs::cleanup()
{
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    QDir::setCurrent(previous_directory_);
    for (const QString &path : std::as_const(installed_))
        QFile::remove(path);
    installed_.clear();
    players_.reset();
    main_.reset();
}

frmplayers &TestDialogs::players()
{
    if (!players_)
        players_ = std::make_unique<frmplayers>(settings_, labels_, main_.get());
    return *players_;
}

QDialog *TestDialogs::build(const QString &form)
{
    if (form == QLatin1String("frmplayers"))
        return new frmplayers(settings_, labels_, main_.get());
    if (form == QLatin1String("frmpoints"))
        return new frmpoints(settings_, main_.get());
    if (form == QLatin1String("frmabout"))
        return new frmabout(main_.get());
    if (form == QLatin1String("frmnotice"))
        return new frmnotice(main_.get());
    return new frmsplash(4000, main_.get());
}

// Puts a file beside the test program, where the viewer looks for the build tree's help file.
QString TestDialogs::install_beside(const QString &name, const QByteArray &contents)
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    write_file(path, contents);
    installed_ << path;
    return path;
}

void TestDialogs::letsPlaySetsUpTheChosenMatch_data()
{
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("box3_enabled");
    QTest::addColumn<bool>("box4_enabled");
    QTest::newRow("none chosen means four") << QList<int>{} << 4 << false << false;
    QTest::newRow("3 then 2") << QList<int>{3, 2} << 2 << false << false;
    QTest::newRow("4 then 3") << QList<int>{4, 3} << 3 << true << false;
    QTest::newRow("2 then 4") << QList<int>{2, 4} << 4 << true << true;
}

void TestDialogs::letsPlaySetsUpTheChosenMatch()
{
    QFETCH(QList<int>, options);
    QFETCH(int, count);
    QFETCH(bool, box3_enabled);
    QFETCH(bool, box4_enabled);
    frmplayers &dialog = players();
    box(3)->setText(QStringLiteral("zED"));
    box(4)->setText(QStringLiteral("kAY"));
    run_modal(dialog, [&] {
        for (int option : options)
            click_button(dialog, qPrintable(QStringLiteral("optplay_%1").arg(option)));
        click_button(dialog, "Command1");
    });

    QCOMPARE(bool(settings_.two_players), count == 2);
    QCOMPARE(bool(settings_.three_players), count == 3);
    QCOMPARE(settings_.four_players.raw(), std::int16_t(count == 4 ? -1 : 0));
    QCOMPARE(box(3)->isEnabled(), box3_enabled);
    QCOMPARE(box(4)->isEnabled(), box4_enabled);
    const QStringList copied{"Player 1", "Player 2", "Zed", "Kay"};
    for (int player = 1; player <= 4; ++player) {
        const QString expected = player <= count ? copied[player - 1] : QStringLiteral("old%1").arg(player);
        QCOMPARE(label(player)->text(), expected);
    }
}

void TestDialogs::choicesAreKeptAcrossShowingsAndClosingOnlyHides()
{
    frmplayers &dialog = players();
    QPointer<frmplayers> alive(&dialog);
    run_modal(dialog, [&] {
        click_button(dialog, "optgame_2");
        box(1)->clear();
        QTest::keyClicks(box(1), QStringLiteral("eVE"));
        QTest::keyClick(box(1), Qt::Key_Return); // Enter presses Let's Play!
    });
    QCOMPARE(label(1)->text(), QStringLiteral("Eve"));
    QCOMPARE(settings_.start_score, std::int16_t(501));

    run_modal(dialog, [&] {
        QVERIFY(child<QRadioButton>(dialog, "optgame_2")->isChecked());
        dialog.close();
    });
    QVERIFY(alive && dialog.isHidden());
    QCOMPARE(box(1)->text(), QStringLiteral("eVE"));
    QCOMPARE(settings_.start_score, std::int16_t(501));
    run_modal(dialog, [&] {
        click_button(dialog, "optgame_1");
        click_button(dialog, "Command1");
    });
    QCOMPARE(settings_.start_score, std::int16_t(301));
}

void TestDialogs::aPastedNameIsCutToWhatABoxHolds()
{
    QGuiApplication::clipboard()->setText(QString(100'000, u'x'));
    QLineEdit *name = box(1);
    name->selectAll();
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(name->text().size(), 32767);
}

void TestDialogs::capItRaisesFirstCharacterOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mixed case") << "jOHN smith" << "John smith";
    QTest::newRow("apostrophe") << "o'neil" << "O'neil";
    QTest::newRow("leading blank") << " ann" << " ann";
    QTest::newRow("leading digit") << "3rd MAN" << "3rd man";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("accented first") << QStringLiteral("éLODIE") << QStringLiteral("Élodie");
    QTest::newRow("sharp s kept") << QStringLiteral("ßEN") << QStringLiteral("ßen");
    QTest::newRow("digraph title case") << QStringLiteral("ǆEMAL") << QStringLiteral("ǅemal");
    QTest::newRow("emoji first") << QStringLiteral("\U0001F600BOB") << QStringLiteral("\U0001F600bob");
    QTest::newRow("supplementary letter")
        << QStringLiteral("\U00010428\U00010400") << QStringLiteral("\U00010400\U00010428");
    QTest::newRow("lone surrogate kept") << QString(QChar(0xD800)) + "ABC" << QString(QChar(0xD800)) + "abc";
    QTest::newRow("markup") << "<b>Ann</b>" << "<b>ann</b>";
    QTest::newRow("ampersand") << "Tom & Jerry" << "Tom & jerry";
}

void TestDialogs::capItRaisesFirstCharacterOnly()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QCOMPARE(frmplayers::Cap_it(typed), shown);
}

void TestDialogs::chosenAmountIsKeptAcrossShowings()
{
    frmpoints dialog(settings_);
    run_modal(dialog, [&] {
        click_button(dialog, "optpoints_25");
        QCOMPARE(settings_.points_pick, std::int16_t(25));
        click_button(dialog, "optpoints_50");
        click_button(dialog, "Command1");
    });
    QVERIFY(dialog.isHidden());
    run_modal(dialog, [&] {
        QVERIFY(child<QRadioButton>(dialog, "optpoints_50")->isChecked());
        click_button(dialog, "Command1");
    });
    QCOMPARE(settings_.points_pick, std::int16_t(50));
}

void TestDialogs::keysDoWhatEachDialogPromises_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("new game: Enter presses Let's Play!") << "frmplayers" << "playname_1" << int(Qt::Key_Return) << true;
    QTest::newRow("new game: Escape in a name box") << "frmplayers" << "playname_1" << int(Qt::Key_Escape) << false;
    QTest::newRow("new game: Escape on an option") << "frmplayers" << "optplay_2" << int(Qt::Key_Escape) << false;
    QTest::newRow("points: Enter on an option") << "frmpoints" << "optpoints_1" << int(Qt::Key_Return) << false;
    QTest::newRow("points: Escape on an option") << "frmpoints" << "optpoints_1" << int(Qt::Key_Escape) << false;
    QTest::newRow("points: Enter on OK") << "frmpoints" << "Command1" << int(Qt::Key_Enter) << false;
    QTest::newRow("points: Escape on OK") << "frmpoints" << "Command1" << int(Qt::Key_Escape) << false;
    QTest::newRow("points: Space on OK") << "frmpoints" << "Command1" << int(Qt::Key_Space) << true;
    QTest::newRow("about box: Enter") << "frmabout" << "Command1" << int(Qt::Key_Return) << true;
    QTest::newRow("about box: Escape") << "frmabout" << "Command1" << int(Qt::Key_Escape) << true;
}

void TestDialogs::keysDoWhatEachDialogPromises()
{
    QFETCH(QString, form);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, closes);
    QPointer<QDialog> dialog = build(form);
    bool stayed_open = false;
    run_modal(*dialog, [&] {
        QWidget *target = child(*dialog, qPrintable(focus));
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        stayed_open = dialog && dialog->isVisible();
        if (stayed_open)
            dialog->done(0);
    });
    QCOMPARE(!stayed_open, closes);
}

void TestDialogs::noticeIsReusedCentredAndHiddenByEveryWayOfDismissingIt()
{
    frmnotice notice;
    const QPoint screen_centre = notice.screen()->geometry().center();
    const QStringList captions{QStringLiteral("Break!"), QStringLiteral("Winner!")};
    const std::array<int, 4> keys{0, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape}; // 0: a click
    for (std::size_t way = 0; way < keys.size(); ++way) {
        const QString caption = captions[way % 2];
        notice.set_caption(caption);
        notice.move(0, 0);
        run_modal(notice, [&] {
            auto *button = child<QPushButton>(notice, "Command1");
            QCOMPARE(button->text(), caption);
            QCOMPARE(notice.focusWidget(), button);
            QVERIFY2((notice.frameGeometry().center() - screen_centre).manhattanLength() <= 2, "not centred");
            keys[way] ? QTest::keyClick(button, Qt::Key(keys[way])) : QTest::mouseClick(button, Qt::LeftButton);
        });
        QVERIFY(notice.isHidden());
    }
}

void TestDialogs::splashClosesOnSecondTickNotFirst()
{
    constexpr int kInterval = 200;
    QPointer<frmsplash> splash = new frmsplash(kInterval);
    bool shown_between_ticks = false;
    QTimer::singleShot(kInterval * 3 / 2, [&] { shown_between_ticks = splash && splash->isVisible(); });
    QElapsedTimer clock;
    clock.start();
    splash->exec();
    QVERIFY(shown_between_ticks);
    QVERIFY(clock.elapsed() >= kInterval * 2 * 9 / 10);
    QVERIFY(splash.isNull());
}

void TestDialogs::aboutBoxHotAreaDoesNothingAndOnlyOkTakesFocus()
{
    QPointer<frmabout> about = new frmabout(main_.get());
    run_modal(*about, [&] {
        for (QWidget *widget : about->findChildren<QWidget *>()) {
            if (widget->focusPolicy() != Qt::NoFocus)
                QCOMPARE(widget->objectName(), QStringLiteral("Command1"));
        }
        QWidget *hot = child(*about, "imghot");
        QVERIFY(hot && child(*about, "Label1")->geometry().contains(hot->geometry().center()));
        QTest::mouseClick(hot, Qt::LeftButton);
        QVERIFY(about->isVisible());
        click_button(*about, "Command1");
    });
    QVERIFY(about.isNull());
}

void TestDialogs::helpFileIsNeverTakenFromTheCurrentDirectory()
{
    const QString name = QStringLiteral("ochre_planted_test.hlp");
    QDir::setCurrent(directory_.path());
    write_file(directory_.filePath(name), "<p>planted</p>");
    QCOMPARE(HelpViewer::locate(name), QString());
    const QString ours = install_beside(name, "<p>ours</p>");
    QCOMPARE(HelpViewer::locate(name), QFileInfo(ours).absoluteFilePath());
}

void TestDialogs::helpViewerFindsTheDataDirectoryOfARelocatedInstall()
{
    // An install under any prefix keeps bin/ and share/ochreline/ side by side.
    QDir::setCurrent(directory_.path());
    const QString data = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/ochreline");
    QVERIFY(QDir().mkpath(data));
    const QString path = QDir(data).filePath(QStringLiteral("ochre_relocated_test.hlp"));
    write_file(path, "<p>relocated</p>");
    const QString found = HelpViewer::locate(QStringLiteral("ochre_relocated_test.hlp"));
    QFile::remove(path);
    QDir().rmdir(data);
    QDir().rmdir(QFileInfo(data).path());
    QVERIFY2(found.endsWith(QStringLiteral("/share/ochreline/ochre_relocated_test.hlp")), qPrintable(found));
}

void TestDialogs::helpViewerFollowsOnlyJumpsWithinTheFile()
{
    install_beside(QStringLiteral("ochre_other_test.html"), "Another page");
    QByteArray html = "<h1>Scoring rules</h1><p><a href=\"ochre_other_test.html\">elsewhere</a> "
                      "<a href=\"http://example.invalid/\">web</a> <a href=\"#end\">to the end</a></p>";
    html += QByteArray("<p>filler line</p>").repeated(300);
    html += "<h2><a name=\"end\"></a>The end</h2>";
    install_beside(QStringLiteral("ochre_test_help.hlp"), html);
    open_help_contents(*main_, QStringLiteral("ochre_test_help.hlp"));
    open_help_contents(*main_, QStringLiteral("ochre_test_help.hlp"));
    QCOMPARE(main_->findChildren<HelpViewer *>().size(), 1);
    auto *viewer = main_->findChild<HelpViewer *>();
    QVERIFY(viewer->isWindow() && viewer->isVisible());
    const QString before = viewer->toPlainText();
    QVERIFY(before.startsWith(QStringLiteral("Scoring rules")));

    click_link(*viewer, QStringLiteral("elsewhere"));
    click_link(*viewer, QStringLiteral("web"));
    QCOMPARE(viewer->toPlainText(), before);
    QVERIFY(browser_.opened.isEmpty());

    QCOMPARE(viewer->verticalScrollBar()->value(), 0);
    click_link(*viewer, QStringLiteral("to the end"));
    QTRY_VERIFY(viewer->verticalScrollBar()->value() > 0);
    QCOMPARE(viewer->toPlainText(), before);
}

void TestDialogs::helpViewerShowsTheFileAndReadsNothingElse_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QString>("shown");
    const QByteArray fifo = QFile::encodeName(directory_.filePath("fifo"));
    QTest::newRow("picture beside it") << QByteArray("<p>Help</p><img src=\"ochre_tall_test.png\">") << "Help";
    QTest::newRow("picture from a FIFO") << "<p>Help</p><img src=\"" + fifo + "\">" << "Help";
    QTest::newRow("picture from /dev/zero") << QByteArray("<p>Help</p><img src=\"/dev/zero\">") << "Help";
    QTest::newRow("style sheet from /dev/zero")
        << QByteArray("<head><link rel=\"stylesheet\" type=\"text/css\" href=\"/dev/zero\"></head><p>Help</p>") << "Help";
    QTest::newRow("larger than a help file may be")
        << "<p>Help</p>" + QByteArray(1024 * 1024, ' ') << "The help file ";
}

void TestDialogs::helpViewerShowsTheFileAndReadsNothingElse()
{
    QFETCH(QByteArray, html);
    QFETCH(QString, shown);
    QVERIFY(::mkfifo(QFile::encodeName(directory_.filePath("fifo")).constData(), 0600) == 0 || errno == EEXIST);
    QImage tall(10, 3000, QImage::Format_RGB32);
    tall.fill(Qt::black);
    installed_ << QDir(QCoreApplication::applicationDirPath()).filePath("ochre_tall_test.png");
    QVERIFY(tall.save(installed_.last()));
    install_beside(QStringLiteral("ochre_hostile_test.hlp"), html);

    open_help_contents(*main_, QStringLiteral("ochre_hostile_test.hlp"));
    auto *viewer = main_->findChild<HelpViewer *>();
    QVERIFY2(viewer->toPlainText().startsWith(shown), qPrintable(viewer->toPlainText().left(200)));
    QVERIFY2(viewer->document()->size().height() < 1000, "something beyond the file was shown");
}

void TestDialogs::webAddressGoesOnlyToTheDesktopsWebHandler()
{
    open_web_address(QStringLiteral("https://www.vantorel.example/"));
    open_web_address(QStringLiteral("www.vantorel.example"));
    open_web_address(QStringLiteral("file:///etc/passwd"));
    const QList<QUrl> expected{QUrl("https://www.vantorel.example/"), QUrl("http://www.vantorel.example")};
    QCOMPARE(browser_.opened, expected);
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
