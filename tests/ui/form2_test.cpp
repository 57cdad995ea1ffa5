#include "form2.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <span>

#include "form1.h"
#include "form2_layout.h"
#include "links.h"
#include "ui_test_support.h"

using namespace veltrano;

namespace {

// Records what the window asks of its browsers; can be told to fail.
struct BrowserLog {
    enum class Failure { None, Create, Show, Navigate };
    Failure failure = Failure::None;
    int created = 0;
    int shown = 0;
    QList<QUrl> addresses;

    BrowserFactory factory() {
        return [this]() -> std::unique_ptr<Browser> {
            if (failure == Failure::Create) throw BrowserError(QStringLiteral("No browser is installed"));
            ++created;
            return std::make_unique<Fake>(*this);
        };
    }

    struct Fake final : Browser {
        explicit Fake(BrowserLog& log) : log(log) {}
        void show() override {
            if (log.failure == Failure::Show) throw BrowserError(QStringLiteral("The browser window cannot be shown"));
            ++log.shown;
        }
        void navigate(const QUrl& address) override {
            if (log.failure == Failure::Navigate) throw BrowserError(QStringLiteral("Navigation refused"));
            log.addresses << address;
        }
        BrowserLog& log;
    };
};

// Receives what the desktop services would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

const char* const kHelpControls[] = {"Label1", "Label7", "Label8", "Label9", "Image1", "Image2"};
const char* const kContactControls[] = {"Picture2", "Label3", "Picture1", "Label10", "Label2",  "Label4",
                                        "Label5",   "Label6", "Label11",  "Label12", "Label13", "Label14"};

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

    MessageRecorder recorder;
    BrowserLog browsers;
    std::unique_ptr<Form2> about;

    QTabBar* tabs() { return about->findChild<QTabBar*>(); }
    void clickAt(const char* name) { QTest::mouseClick(control(about.get(), name), Qt::LeftButton, {}, QPoint(3, 3)); }

private slots:
    void init() {
        recorder = {};
        browsers = {};
        about = std::make_unique<Form2>(nullptr, browsers.factory(), recorder.fn());
        QVERIFY(shownActive(about.get()));
    }
    void cleanup() { about.reset(); }

    void opensOnHelpWithTheTabsFocusedItsTextsAndPictures() {
        QCOMPARE(about->windowTitle(), QStringLiteral(" About Veltrano"));
        QCOMPARE(about->size(), QSize(418, 346));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QCOMPARE(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                         Qt::WindowCloseButtonHint), Qt::WindowCloseButtonHint);
        QVERIFY(about->isModal());
        QCOMPARE(tabs()->count(), 2);
        QCOMPARE(tabs()->tabText(0) + '/' + tabs()->tabText(1), QStringLiteral("Help/Contact"));
        QCOMPARE(tabs()->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), tabs());
        QCOMPARE(control<QLabel>(about.get(), "Label1")->text(),
                 QStringLiteral("Calcolo degli esponenti di Lyapunov per il sistema di Lorentz, basato sul codice "
                                "riportato in \"Appendice A\" di:"));
        const QString reference = control<QLabel>(about.get(), "Label7")->text();
        QVERIFY(reference.startsWith(QStringLiteral("\"Determining Lyapunov Exponents From a Time Series\", ")));
        QVERIFY(reference.endsWith(QStringLiteral(", Physica 16D (1985) 285-317")));
        QCOMPARE(control<QLabel>(about.get(), "Label3")->text(),
                 QStringLiteral("Programma Veltrano for Lorentz System"));
        QCOMPARE(control<QLabel>(about.get(), "Label10")->text(), QStringLiteral("Version 1.0"));
        QCOMPARE(control<QLabel>(about.get(), "Label6")->text() + "/", QString::fromLatin1(kLinks[0].address));
        for (const auto& [name, size] : {std::pair{"Image1", QSize(284, 81)}, {"Image2", QSize(201, 30)},
                                         {"Picture1", QSize(106, 189)}, {"Picture2", QSize(32, 32)}}) {
            auto* picture = control<QLabel>(about.get(), name);
            QCOMPARE(picture->pixmap().size(), size);
            // Announced by what it shows, never by an internal name.
            const QString said = spoken(picture);
            QVERIFY2(said.size() > 10 && !said.contains(picture->objectName()), qPrintable(said));
        }
        for (const Link& link : kLinks) {
            auto* label = control<QLabel>(about.get(), link.label);
            QVERIFY(label->font().bold());
            QVERIFY(!label->font().underline());
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(label->cursor().shape(), Qt::BitmapCursor);
        }
        // Esc leaves it open, CHIUDI closes it at once.
        QTest::keyClick(about.get(), Qt::Key_Escape);
        QVERIFY(about->isVisible());
        QTest::mouseClick(control<QPushButton>(about.get(), "Command1"), Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    // Each page shows its own controls and CHIUDI; where a hidden page's
    // link lies a click reaches nothing of it, and a click on a control that
    // is no link does nothing; a link opens its address once a click.
    void eachPageShowsItsOwnControlsAndLinksAndTheirFailures() {
        for (int page : {0, 1, 0}) {
            tabs()->setCurrentIndex(page);
            for (const char* name : kHelpControls) QCOMPARE(control(about.get(), name)->isVisible(), page == 0);
            for (const char* name : kContactControls) QCOMPARE(control(about.get(), name)->isVisible(), page == 1);
            QVERIFY(control(about.get(), "Command1")->isVisible());
            QWidget* link = control(about.get(), "Label12");
            QCOMPARE(about->childAt(link->mapTo(about.get(), QPoint(5, 5))) == link, page == 1);
            for (const char* name : page == 0 ? std::span<const char* const>(kHelpControls)
                                                    : std::span<const char* const>(kContactControls))
                if (std::none_of(kLinks.begin(), kLinks.end(), [&](const Link& l) { return QLatin1String(l.label) == name; }))
                    clickAt(name);
        }
        tabs()->setCurrentIndex(1);
        for (const Link& link : kLinks) {
            browsers.addresses.clear();
            clickAt(link.label);
            clickAt(link.label);
            QCOMPARE(browsers.addresses, (QList<QUrl>{QUrl(link.address), QUrl(link.address)}));
        }
        // A press released off the link opens nothing.
        QWidget* link = control(about.get(), kLinks[0].label);
        QTest::mousePress(link, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-4, -4));
        QCOMPARE(browsers.created, 6);
        QCOMPARE(browsers.shown, 6);
        QVERIFY(recorder.messages.empty());
        // A failure is reported once and leaves the window on Contact.
        for (const auto& [failure, description] : {std::pair{BrowserLog::Failure::Create, "No browser is installed"},
                                                   {BrowserLog::Failure::Show, "The browser window cannot be shown"},
                                                   {BrowserLog::Failure::Navigate, "Navigation refused"}}) {
            browsers.failure = failure;
            recorder.messages.clear();
            clickAt("Label14");
            QCOMPARE(recorder.messages.size(), std::size_t{1});
            const MessageRecorder::Message& said = recorder.messages[0];
            QCOMPARE(said.icon, MessageIcon::None);
            QCOMPARE(said.title + " / " + said.text, description + QStringLiteral(" / Error displaying file"));
            QVERIFY(about->isVisible());
            QCOMPARE(tabs()->currentIndex(), 1);
        }
    }

    // The calculator's opener: the About window with the desktop's opener, which is asked for a link's address.
    void reopensFreshOnHelpAHundredTimes() {
        about.reset();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        Form1 main(recorder.fn(),
                   [this](QWidget* parent) { Form2::showModal(parent, createDesktopBrowser, recorder.fn()); });
        main.show();
        for (int i = 0; i < 100; ++i) {
            int page = -1;
            bool centred = false;
            whenModalOpens([&](QWidget* opened) {
                auto* bar = opened->findChild<QTabBar*>();
                page = bar->currentIndex();
                // Centred on the screen (its frame, added once shown, may shift it by its border).
                centred = (opened->geometry().center() - opened->screen()->availableGeometry().center()).manhattanLength() <= 4;
                bar->setCurrentIndex(1);  // left on "Contact"
                if (i == 0) QTest::mouseClick(control(opened, "Label12"), Qt::LeftButton, {}, QPoint(3, 3));
                if (i % 2)
                    control<QPushButton>(opened, "Command1")->click();
                else
                    opened->close();
            });
            QTest::mousePress(control(&main, "Image1"), i % 3 ? Qt::LeftButton : Qt::RightButton, {}, QPoint(5, 5));
            QCOMPARE(page, 0);
            QVERIFY(centred);
            QVERIFY(QApplication::activeModalWidget() == nullptr);
        }
        QCOMPARE(main.findChildren<Form2*>().size(), 0);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(kLinks[1].address)});
        QVERIFY(recorder.messages.empty());
    }
};

VELTRANO_TEST_CLASS(Form2Test, 1);
#include "form2_test.moc"
