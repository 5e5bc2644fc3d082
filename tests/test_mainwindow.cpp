#include "ApplicationSetup.h"
#include "BoardGeometry.h"
#include "Contrast.h"
#include "DesignFrame.h"
#include "MainWindowFixture.h"
#include "ModalAnswerer.h"
#include "Version.h"
#include "WidgetCaption.h"
#include "frmsplash.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSet>
#include <QStyle>
#include <functional>
#include <numbers>

#include <numbers>

namespace {

QPalette light_default()
{
    return QApplication::style()->standardPalette();
}

// The colours a dark desktop style gives Qt: text, window, base (boxes), button, and the bevels' light, dark
// and mid tones.
QPalette dark_style(QRgb text, QRgb window, QRgb base, QRgb button, QRgb light, QRgb dark, QRgb mid)
{
    QPalette palette{QColor(text), QColor(button), QColor(light), QColor(dark),  QColor(mid),
                     QColor(text), QColor(light),  QColor(base),  QColor(window)};
    palette.setColor(QPalette::ButtonText, QColor(text));
    return palette;
}

// What the desktops' dark styles hand Qt, as read from a running program: GNOME's dark style through the
// gtk3 platform theme, and qt6ct's "darker" colour scheme.
QPalette palette_of(const QString &style)
{
    if (style == QLatin1String("GNOME dark"))
        return dark_style(0xf0f0f0, 0x323232, 0x242424, 0x323232, 0x4b4b4b, 0x212121, 0x262626);
    if (style == QLatin1String("qt6ct darker"))
        return dark_style(0xffffff, 0x222020, 0x3d3d3d, 0x424245, 0x979797, 0x302f2e, 0x4a4947);
    return light_default();
}

QColor ink_of(const QWidget &widget)
{
    if (auto *frame = qobject_cast<const DesignFrame *>(&widget))
        return frame->caption_colour();
    return widget.palette().color(widget.foregroundRole());
}

// The colour the window shows most inside the widget's border, the text's own colour left out: the background
// its text is drawn on.
QColor background_of(const QWidget &widget, const QColor &ink, const QImage &window)
{
    constexpr int kBorder = 3;
    const qreal ratio = window.devicePixelRatio();
    const QRect area(widget.mapTo(widget.window(), QPoint(kBorder, kBorder)) * ratio,
                     (widget.size() - QSize(2 * kBorder, 2 * kBorder)) * ratio);
    return QColor(MainWindowFixture::mostCommonColour(window.copy(area), ink.rgb()));
}

// The colours the design gives these texts; the red and green frame captions fall short of the requirement
// on the light default, where they keep their colours, and elsewhere must read at least as well as there.
QColor design_colour(const QWidget &widget)
{
    static const std::map<QString, QColor> kDesign{
        {"frmmain/score_1", QColor(255, 0, 0)},     {"frmmain/score_2", QColor(0, 0, 255)},
        {"frmmain/score_3", QColor(0, 0, 255)},     {"frmmain/score_4", QColor(0, 0, 255)},
        {"frmabout/lblappname", QColor(0, 0, 192)}, {"frmabout/Frame1", QColor(255, 0, 0)},
        {"frmabout/Frame2", QColor(0, 128, 0)},
    };
    const auto found = kDesign.find(widget.window()->objectName() + u'/' + widget.objectName());
    return found == kDesign.end() ? QColor() : found->second;
}

// Every enabled text shown in the window that reads worse than it must on its background, described.
QStringList poorly_readable(QWidget &form, bool light)
{
    const QImage shown = form.grab().toImage();
    QStringList poor;
    for (QWidget *widget : form.findChildren<QWidget *>()) {
        if (!widget->isVisible() || !widget->isEnabled() || caption_of(*widget).isEmpty())
            continue;
        const QColor ink = ink_of(*widget);
        const QColor background = background_of(*widget, ink, shown);
        const QColor design = design_colour(*widget);
        double minimum = contrast::required(widget->font());
        if (design.isValid())
            minimum = std::min(minimum, contrast::ratio(design, light_default().color(QPalette::Window)));
        const double ratio = contrast::ratio(ink, background);
        if (ratio < minimum || (light && design.isValid() && ink != design))
            poor << QString("%1 \"%2\": %3 on %4, %5:1 of %6:1")
                        .arg(widget->objectName(), caption_of(*widget), ink.name(), background.name())
                        .arg(ratio, 0, 'f', 2)
                        .arg(minimum, 0, 'f', 2);
    }
    return poor;
}

} // namespace

// Window tests: the layout as designed, and what a match shows on it.
class TestMainWindow : public QObject, private MainWindowFixture {
    Q_OBJECT
private slots:
    // As the program starts: the application's font is the design's, in the faces this system substitutes.
    void initTestCase() { setup_application(); }
    void init() { openWindow(); }
    void cleanup() { window.reset(); }

    void clientAreaHasTheDesignedSize();
    void controlsStandAtTheirDesignedRectangles_data();
    void controlsStandAtTheirDesignedRectangles();
    void playerPanelsStartHidden();
    void statusBarPanelsStartWithTheirFixedTexts();
    void menuBarHasTheDesignedTree();
    void clearedSoundOnShowsNothingInItsCheckColumn();
    void playerLabelsUseTheMetricCompatibleFaces();
    void boardIsDrawnFromThePictureMadeForTheScreensDensity();

    void everyTextReadsWellInLightAndDarkStyles_data();
    void everyTextReadsWellInLightAndDarkStyles();
    void everyTextIsDrawnInASmoothlyScalableFace_data();
    void everyTextIsDrawnInASmoothlyScalableFace();

    void twoPlayerMatchIsScoredFromBoardClicksAlone();
    void doubleClickEntersTwoDarts();

private:
    void click(board::Ring ring, int number);
    // Shows the form by the command that shows it in the program and hands it to `seen` while it is up.
    void showForm(const QString &form, const std::function<void(QWidget &)> &seen);
};

void TestMainWindow::showForm(const QString &form, const std::function<void(QWidget &)> &seen)
{
    ModalAnswerer answerer;
    answerer.onSeen = [&](QWidget *modal) {
        if (modal->objectName() == form)
            seen(*modal);
    };
    if (form == QLatin1String("frmmain")) {
        seen(*window);
    } else if (form == QLatin1String("frmplayers")) {
        window->mnunew_Click();
    } else if (form == QLatin1String("frmpoints")) {
        window->mnuadd_Click();
    } else if (form == QLatin1String("frmnotice")) {
        MatchViewInterface &view = *window;
        view.set_notice_caption("Break!");
        view.show_notice();
    } else if (form == QLatin1String("frmsplash")) {
        (new frmsplash(200, window.get()))->exec();
    } else {
        window->mnuabout_Click();
    }
}

// Clicks the middle of a ring on a segment's centre line, as a scorer would.
void TestMainWindow::click(board::Ring ring, int number)
{
    using namespace board;
    static constexpr std::array<double, 8> kMiddle{0, 21.5, 57.5, 92.5, 131.5, 172, 210, 0};
    const double r = kMiddle[static_cast<std::size_t>(ring)];
    const auto at = std::find(kSegmentOrder.begin(), kSegmentOrder.end(), number == 0 ? 20 : number);
    const double degrees = kSegmentDegrees * double(at - kSegmentOrder.begin()) * std::numbers::pi / 180.0;
    const QPoint point(int(kCentre + r * std::sin(degrees)), int(kCentre - r * std::cos(degrees)));
    QTest::mouseClick(board(), Qt::LeftButton, {}, point);
}

void TestMainWindow::clientAreaHasTheDesignedSize()
{
    QCOMPARE(window->centralWidget()->size(), QSize(721, 508));
    QCOMPARE(window->windowTitle(), QString("Ochreline for Windows"));
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->minimumSize(), window->maximumSize());
}

void TestMainWindow::controlsStandAtTheirDesignedRectangles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Picture1") << "Picture1" << QRect(123, 3, 480, 480);
    QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 486, 721, 22);
    QTest::newRow("Line1") << "Line1" << QRect(0, 0, 714, 2);
    QTest::newRow("lblname_1") << "lblname_1" << QRect(3, 18, 112, 28);
    QTest::newRow("lblname_2") << "lblname_2" << QRect(606, 18, 112, 28);
    QTest::newRow("lblname_3") << "lblname_3" << QRect(3, 267, 112, 28);
    QTest::newRow("lblname_4") << "lblname_4" << QRect(606, 267, 112, 28);
    QTest::newRow("score_1") << "score_1" << QRect(9, 72, 100, 52);
    QTest::newRow("score_2") << "score_2" << QRect(612, 72, 100, 52);
    QTest::newRow("score_3") << "score_3" << QRect(9, 318, 100, 52);
    QTest::newRow("score_4") << "score_4" << QRect(612, 318, 100, 52);
}

void TestMainWindow::controlsStandAtTheirDesignedRectangles()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    auto *control = window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->parentWidget(), window->centralWidget());
}

void TestMainWindow::playerPanelsStartHidden()
{
    for (int p = 1; p <= 4; ++p) {
        QVERIFY(!label(QString("lblname_%1").arg(p))->isVisible());
        QVERIFY(!label(QString("score_%1").arg(p))->isVisible());
        QCOMPARE(label(QString("lblname_%1").arg(p))->text(), QString("Player %1").arg(p));
        QCOMPARE(label(QString("score_%1").arg(p))->text(), QString("301"));
    }
}

void TestMainWindow::statusBarPanelsStartWithTheirFixedTexts()
{
    const QStringList expected{"Active Player:", "", "Hit:", "", "Total Hit:", "", version::kWebAddress};
    for (int number = 1; number <= 7; ++number)
        QCOMPARE(panel(number), expected[number - 1]);
    auto *bar = statusBar();
    QCOMPARE(bar->panel(7)->width(), 301);
    for (int number = 1; number < 7; ++number)
        QVERIFY(bar->panel(number)->geometry().right() < bar->panel(number + 1)->geometry().left());
    QVERIFY(bar->panel(7)->geometry().right() < bar->width()); // nothing clipped at the right
}

void TestMainWindow::menuBarHasTheDesignedTree()
{
    QStringList tree;
    for (QAction *top : window->menuBar()->actions()) {
        tree << top->objectName() + "|" + top->text();
        for (QAction *item : top->menu()->actions())
            tree << "  " + item->objectName() + "|" + (item->isSeparator() ? "-" : item->text()) + "|"
                        + (item->isEnabled() ? "on" : "off") + (item->isChecked() ? "|checked" : "");
    }
    const QStringList expected{
        "mnufile|&File",
        "  mnunew|&New Game|on",
        "  mnusound|Sound On|on",
        "  mnudash|-|on",
        "  mnuexit|E&xit|on",
        "mnuscore|&Score",
        "  mnuadd|Add Points|off",
        "  mnusub|Subtract Points|off",
        "mnuhelp|&Help",
        "  mnu_getdart|&GET QUIVERLINE|on",
        "  mnucontents|&Contents|on",
        "  mnuabout|&About|on",
    };
    QCOMPARE(tree, expected);
}

void TestMainWindow::clearedSoundOnShowsNothingInItsCheckColumn()
{
    auto *file = window->findChild<QMenu *>("mnufile");
    file->popup(window->geometry().center());
    QVERIFY(QTest::qWaitForWindowExposed(file));
    auto checkColumn = [&](const char *item) {
        const QRect row = file->actionGeometry(action(item)); // the first one touches the menu's frame
        return file->grab(QRect(row.left() + 2, row.top() + 2, row.height() - 4, row.height() - 4)).toImage();
    };
    action("mnusound")->setChecked(false);
    QCOMPARE(checkColumn("mnusound"), checkColumn("mnunew"));
    action("mnusound")->setChecked(true);
    QVERIFY(checkColumn("mnusound") != checkColumn("mnunew"));
}

void TestMainWindow::playerLabelsUseTheMetricCompatibleFaces()
{
    const QFontInfo name(label("lblname_1")->font());
    const QFontInfo score(label("score_1")->font());
    QCOMPARE(name.family(), QString("Liberation Serif"));
    QVERIFY(name.bold());
    QCOMPARE(score.family(), QString("Liberation Sans"));
    QCOMPARE(label("score_1")->font().pointSizeF(), 27.75);
}

// On a screen with two device pixels to a logical one the board shows its twice-as-large picture
// pixel for pixel, not the ordinary one blown up into 2 x 2 blocks. At any other ratio above 1 it is that
// picture scaled smoothly: the seven colours of the picture blend along the borders of its rings.
void TestMainWindow::boardIsDrawnFromThePictureMadeForTheScreensDensity()
{
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(board()->devicePixelRatioF(), ratio);
    const QImage shown = board()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (ratio == 1.0 || ratio == 2.0) {
        const QImage picture(ratio > 1.0 ? QStringLiteral(":/board@2x.bmp") : QStringLiteral(":/board.bmp"));
        QCOMPARE(shown, picture.convertToFormat(QImage::Format_RGB32));
        return;
    }
    QCOMPARE(shown.size(), QSize(board::kPictureSize, board::kPictureSize) * ratio);
    QSet<QRgb> colours;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            colours.insert(shown.pixel(x, y));
    QVERIFY2(colours.size() > 100, qPrintable(QString::number(colours.size())));
}

void TestMainWindow::everyTextReadsWellInLightAndDarkStyles_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("form");
    for (const char *style : {"light default", "GNOME dark", "qt6ct darker"}) {
        for (const char *form : {"frmmain", "frmplayers", "frmpoints", "frmnotice", "frmsplash", "frmabout"})
            QTest::addRow("%s: %s", style, form) << QString(style) << QString(form);
    }
}

// Colours the design fixes for texts on the style's background: kept where they read well enough, made lighter
// on a dark background where they don't. The style changes after the window is built, as a desktop's can.
void TestMainWindow::everyTextReadsWellInLightAndDarkStyles()
{
    QFETCH(QString, style);
    QFETCH(QString, form);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QApplication::setPalette(palette_of(style));
    QCoreApplication::processEvents();
    startMatch(4);

    const bool light = style == QLatin1String("light default");
    QStringList poor{"not shown"};
    showForm(form, [&](QWidget &shown) { poor = poorly_readable(shown, light); });
    QVERIFY2(poor.isEmpty(), qPrintable(poor.join(u'\n')));
}

void TestMainWindow::everyTextIsDrawnInASmoothlyScalableFace_data()
{
    QTest::addColumn<QString>("form");
    for (const char *form : {"frmmain", "frmplayers", "frmpoints", "frmnotice", "frmsplash", "frmabout"})
        QTest::newRow(form) << QString(form);
}

// A face drawn from a bitmap at one size only (Windows' "MS Sans Serif") shows its pixels as squares at any
// other scale. The design's fonts, the application's font among them, resolve to outline faces.
void TestMainWindow::everyTextIsDrawnInASmoothlyScalableFace()
{
    QFETCH(QString, form);
    QStringList bitmap{"not shown"};
    showForm(form, [&](QWidget &shown) {
        bitmap.clear();
        QList<QWidget *> widgets = shown.findChildren<QWidget *>();
        widgets.prepend(&shown);
        for (const QWidget *widget : widgets) {
            const QFontInfo face(widget->font());
            if (!QFontDatabase::isSmoothlyScalable(face.family(), face.styleName()))
                bitmap << QStringLiteral("%1: %2 %3").arg(widget->objectName(), face.family(), face.styleName());
        }
    });
    QVERIFY2(bitmap.isEmpty(), qPrintable(bitmap.join(u'\n')));
}

void TestMainWindow::twoPlayerMatchIsScoredFromBoardClicksAlone()
{
    using board::Ring;
    startMatch(2);
    ModalAnswerer answerer;
    auto turn = [this](std::initializer_list<std::pair<Ring, int>> darts) {
        for (auto [ring, number] : darts)
            click(ring, number);
    };
    turn({{Ring::Treble, 20}, {Ring::Treble, 20}, {Ring::Treble, 20}}); // 1: 121
    QCOMPARE(label("score_1")->text(), QString("121"));
    turn({{Ring::InnerSingle, 5}, {Ring::OuterSingle, 1}, {Ring::NumberRing, 0}}); // 2: 295
    QCOMPARE(label("score_2")->text(), QString("295"));
    turn({{Ring::Treble, 19}, {Ring::Double, 16}, {Ring::InnerBull, 0}}); // 1: 121 - 139 bust
    QCOMPARE(answerer.seen, QStringList{"frmnotice: Break!"});
    QCOMPARE(label("score_1")->text(), QString("121"));
    turn({{Ring::OuterBull, 0}, {Ring::Double, 3}, {Ring::InnerSingle, 11}}); // 2: 295 - 42 = 253
    QCOMPARE(label("score_2")->text(), QString("253"));
    turn({{Ring::Treble, 19}, {Ring::Treble, 16}, {Ring::Double, 8}}); // 1: 121 - 121 = 0
    QCOMPARE(label("score_1")->text(), QString("0"));
    QCOMPARE(answerer.seen, (QStringList{"frmnotice: Break!", "frmnotice: Winner!"}));
    QVERIFY(match().game_over);
    QCOMPARE(panel(2), QString("Player 2"));
}

void TestMainWindow::doubleClickEntersTwoDarts()
{
    startMatch(2);
    const QPoint treble20(240, 147);
    // What the window system sends for a double click: press, release, double click, release.
    QTest::mouseClick(board(), Qt::LeftButton, {}, treble20);
    QTest::mouseDClick(board(), Qt::LeftButton, {}, treble20);
    QTest::mouseRelease(board(), Qt::LeftButton, {}, treble20);
    QCOMPARE(match().darts_thrown, 2);
    QCOMPARE(panel(6), QString("120"));
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
