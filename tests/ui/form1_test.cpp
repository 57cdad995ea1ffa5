#include "form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "form1_layout.h"
#include "ui_test_support.h"

using namespace veltrano;

namespace {

const QString kN = QStringLiteral("Valore Errato: il valore deve essere un intero positivo");
const QString kSigma = QStringLiteral("Valore Errato: il valore di sigma deve essere un numero reale");
const QString kR = QStringLiteral("Valore Errato: il valore di R deve essere un numero reale");
const QString kB = QStringLiteral("Valore Errato: il valore di b deve essere un numero reale");
const QString kRange = QStringLiteral("Deve essere n < 10000");
const char* const kEntryNames[] = {"Text1", "Text2", "Text3", "Text4"};
const char* const kResultNames[] = {"Label12", "Label1", "Label2", "Label3", "Label4"};

QImage lookOf(QWidget* form, const char* image) {
    return control<QLabel>(form, image)->pixmap().toImage();
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

    MessageRecorder recorder;
    int aboutOpened = 0;
    QWidget* aboutParent = nullptr;
    std::unique_ptr<Form1> form;

    QLineEdit* field(const char* name) { return control<QLineEdit>(form.get(), name); }
    QString label(const char* name) { return control<QLabel>(form.get(), name)->text(); }
    void setEntries(const QStringList& entries) {
        for (int i = 0; i < 4; ++i) field(kEntryNames[i])->setText(entries[i]);
    }
    void calcola() { QTest::mouseClick(control<QPushButton>(form.get(), "Command1"), Qt::LeftButton); }

private slots:
    void init() {
        recorder = {};
        aboutOpened = 0;
        form = std::make_unique<Form1>(recorder.fn(), [this](QWidget* parent) {
            ++aboutOpened;
            aboutParent = parent;
        });
        QVERIFY(shownActive(form.get()));
    }
    void cleanup() {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    // A fixed window with minimise and close only, the default entries and
    // empty results (n has the focus, its text selected: keyboardXAndThePictureButton), its
    // controls where the window's description puts them.
    void startsFixedWithTheDefaultEntriesInPlace() {
        QCOMPARE(form->windowTitle(), QStringLiteral(" Veltrano"));
        QCOMPARE(form->size(), QSize(422, 290));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        const Qt::WindowFlags buttons = Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        QCOMPARE(form->windowFlags() & (buttons | Qt::WindowMaximizeButtonHint), buttons);
        QVERIFY(!form->windowIcon().isNull());
        const QStringList defaults{"100", "10", "28", "2.6667"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(field(kEntryNames[i])->text(), defaults[i]);
            QVERIFY(field(kEntryNames[i])->alignment() & Qt::AlignRight);
        }
        for (const char* name : kResultNames) {
            QVERIFY(label(name).isEmpty());
            if (name != kResultNames[0])  // the computing time is bare text, the results stand in white fields
                QCOMPARE(control(form.get(), name)->palette().color(QPalette::Window), QColor(Qt::white));
        }
        QCOMPARE(lookOf(form.get(), "Image1"), lookOf(form.get(), "Image4"));
        for (const char* hidden : {"Image2", "Image3", "Image4"}) QVERIFY(!control(form.get(), hidden)->isVisible());
        QCOMPARE(label("Label5"), QString::fromUtf8("\u03C3"));
        QCOMPARE(label("Label9"), QString::fromUtf8("\u03BB1"));
        QCOMPARE(control(form.get(), "Label5")->font().pointSizeF(), 12.0);
        QCOMPARE(control(form.get(), "Label9")->font().pointSizeF(), 9.75);
        // Positions and sizes in twips, typed here from the window's
        // description rather than read from the program's own layout table,
        // so that a slip in that table shows; 15 twips a pixel. With every
        // place exact, the typed table alone decides which controls overlap.
        struct Place {
            const char* name;
            int left, top, width, height;
        };
        const Place places[] = {
            {"Command2", 1680, 720, 255, 255}, {"Text1", 600, 720, 1000, 375},   {"Text2", 840, 360, 1095, 375},
            {"Text3", 840, 840, 1095, 375},    {"Text4", 840, 1320, 1095, 375},  {"Command1", 600, 1680, 1000, 495},
            {"Label1", 480, 3120, 1005, 375},  {"Label2", 1800, 3120, 1005, 375}, {"Label3", 3120, 3120, 1005, 375},
            {"Label4", 4440, 3120, 1005, 375}, {"Frame1", 3240, 360, 2295, 1935}, {"Label5", 480, 390, 255, 375},
            {"Label6", 480, 900, 255, 375},    {"Label7", 480, 1380, 255, 375},  {"Label8", 480, 2760, 1005, 255},
            {"Label9", 1800, 2760, 1005, 255}, {"Label10", 3120, 2760, 1005, 255}, {"Label11", 4440, 2760, 1005, 255},
            {"Frame2", 360, 360, 1935, 975},   {"Label12", 2640, 3795, 1215, 375}, {"Label13", 480, 3795, 2055, 375},
            {"Image1", 5880, 110, 360, 360},   {"Image2", 5880, 600, 360, 360},  {"Image3", 5880, 1080, 360, 360},
            {"Image4", 5880, 1560, 360, 360},
        };
        const auto px = [](int twips) { return (twips + 7) / 15; };
        QCOMPARE(std::size(places), std::size(kForm1Controls));
        const QRect client(0, 0, 422, 290);
        for (const Place& item : places) {
            QWidget* w = control(form.get(), item.name);
            QVERIFY2(w, item.name);
            QCOMPARE(w->geometry(), QRect(px(item.left), px(item.top), px(item.width), px(item.height)));
            QVERIFY2(client.contains(w->geometry().translated(w->parentWidget()->mapTo(form.get(), QPoint()))),
                     item.name);
            QVERIFY2(!(w->accessibleName() + w->accessibleDescription()).isEmpty(), item.name);
        }
        // Text1 and "X" are drawn above the frame that surrounds them.
        const QList<QObject*> order = form->children();
        QVERIFY(order.indexOf(control(form.get(), "Frame2")) < order.indexOf(field("Text1")));
    }

    // Tab visits the entries then Calcola, selecting each text; "X" gives the
    // focus back to n with its text selected; Enter and Esc click nothing. The
    // picture button follows the mouse and opens About.
    void keyboardXAndThePictureButton() {
        const QStringList stops = tabStops([](QWidget* w) {
            auto* entry = qobject_cast<QLineEdit*>(w);
            return w->objectName() + (entry && entry->selectedText() != entry->text() ? "(unselected)" : "");
        });
        QCOMPARE(stops.join(' '), QStringLiteral("Text1 Text2 Text3 Text4 Command1"));
        field("Text3")->setFocus();
        field("Text1")->setText(QStringLiteral("?"));
        QTest::mouseClick(control<QPushButton>(form.get(), "Command2"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), field("Text1"));
        QCOMPARE(field("Text1")->selectedText(), QStringLiteral("?"));
        QTest::keyClick(field("Text1"), Qt::Key_Return);
        QTest::keyClick(field("Text1"), Qt::Key_Escape);
        QVERIFY(recorder.messages.empty());
        QWidget* image = control(form.get(), "Image1");
        QTest::mouseMove(image, QPoint(12, 12));
        // Over another control the look stays; over the bare surface it resets.
        QTest::mouseMove(control(form.get(), "Label13"), QPoint(5, 5));
        QCOMPARE(lookOf(form.get(), "Image1"), lookOf(form.get(), "Image3"));
        QTest::mouseMove(form.get(), QPoint(410, 280));
        QCOMPARE(lookOf(form.get(), "Image1"), lookOf(form.get(), "Image4"));

        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(image, button, {}, QPoint(12, 12));
            QTest::mouseRelease(image, button, {}, QPoint(12, 12));
            QCOMPARE(lookOf(form.get(), "Image1"), lookOf(form.get(), "Image2"));
        }
        QCOMPARE(aboutOpened, 3);
        QCOMPARE(aboutParent, form.get());
        // F1 from any field opens it too, without the picture's looks.
        const QImage before = lookOf(form.get(), "Image1");
        QTest::keyClick(field("Text3"), Qt::Key_F1);
        QCOMPARE(aboutOpened, 4);
        QCOMPARE(lookOf(form.get(), "Image1"), before);
        QVERIFY(lookOf(form.get(), "Image2") != lookOf(form.get(), "Image3"));
        // The normal look is flat: no ground and no edge of its own, so the
        // window's surface shows around the disc. The other looks add an edge
        // and nothing else (and so differ from it).
        for (const char* look : {"Image4", "Image3", "Image2"}) {
            const QImage picture = lookOf(form.get(), look);
            QCOMPARE(qAlpha(picture.pixel(1, 1)), 0);
            QCOMPARE(qAlpha(picture.pixel(0, 0)), look == QLatin1String("Image4") ? 0 : 255);
            QCOMPARE(qAlpha(picture.pixel(23, 23)), look == QLatin1String("Image4") ? 0 : 255);
        }
    }

    void refusedEntries_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("message");
        QTest::newRow("n not a number") << QStringList{"1.5", "10", "28", "2.6667"} << "Text1" << kN;
        QTest::newRow("n zero") << QStringList{"000", "10", "28", "2.6667"} << "Text1" << kN;
        QTest::newRow("sigma") << QStringList{"100", "1,5", "28", "2.6667"} << "Text2" << kSigma;
        QTest::newRow("R") << QStringList{"100", "10", "+28", "2.6667"} << "Text3" << kR;
        QTest::newRow("b") << QStringList{"100", "10", "28", "2 "} << "Text4" << kB;
        QTest::newRow("range") << QStringList{"10000", "10", "28", "2.6667"} << "Text1" << kRange;
        QTest::newRow("n before sigma") << QStringList{"x", "y", "28", "2.6667"} << "Text1" << kN;
        QTest::newRow("range tested last") << QStringList{"20000", "y", "28", "2.6667"} << "Text2" << kSigma;
        QTest::newRow("sigma beyond the doubles")
            << QStringList{"100", "1" + QString(400, '0'), "28", "2.6667"} << "Text2" << kSigma;
    }
    void refusedEntries() {
        QFETCH(QStringList, entries);
        QFETCH(QString, failing);
        QFETCH(QString, message);
        setEntries(entries);
        calcola();
        QCOMPARE(recorder.messages.size(), std::size_t{1});
        QCOMPARE(recorder.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(recorder.messages[0].title, QStringLiteral("Messaggio di errore"));
        QCOMPARE(recorder.messages[0].text, message);
        for (int i = 0; i < 4; ++i) {
            QLineEdit* entry = field(kEntryNames[i]);
            if (QLatin1String(kEntryNames[i]) == failing) {
                QCOMPARE(entry->text(), QStringLiteral("?"));
                QCOMPARE(entry->selectedText(), QStringLiteral("?"));
                QCOMPARE(QApplication::focusWidget(), entry);
            } else {
                QCOMPARE(entry->text(), entries[i]);
            }
        }
        for (const char* name : kResultNames) QVERIFY(label(name).isEmpty());
        // Pressing again without editing repeats the same message.
        calcola();
        QCOMPARE(recorder.messages.size(), std::size_t{2});
        QCOMPARE(recorder.messages[1].text, failing == "Text1" ? kN : message);
    }

    void theSpectrumOrAFlowErrorIsShown() {
        calcola();
        QVERIFY(recorder.messages.empty());
        QCOMPARE(label("Label1"), QStringLiteral("20"));
        for (const auto& [name, shape] : {std::pair{"Label2", "^0\\.38\\d{2}$"}, {"Label3", "^-0\\.00\\d{1,2}$"},
                                          {"Label4", "^-14\\.03\\d?$"}, {"Label12", "^\\d+(\\.\\d{0,2}[1-9])?$"}})
            QVERIFY2(QRegularExpression(shape).match(label(name)).hasMatch(), qPrintable(label(name)));
        QVERIFY(!label("Label4").endsWith('0'));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        // A screen reader reads each value as the field's name; the meaning
        // is its description.
        const auto said = [this](const char* name, QAccessible::Text what) { return spoken(control(form.get(), name), what); };
        for (const char* name : kResultNames) QCOMPARE(said(name, QAccessible::Name), label(name));
        QCOMPARE(said("Label2", QAccessible::Description), QStringLiteral("lambda 1"));
        QCOMPARE(said("Label12", QAccessible::Description), QStringLiteral("tempo di calcolo in secondi"));

        // A refused entry afterwards blanks every result.
        field("Text2")->setText(QStringLiteral("abc"));
        calcola();
        for (const char* name : kResultNames) {
            QVERIFY(label(name).isEmpty());
            QVERIFY(said(name, QAccessible::Name).isEmpty());
        }
        // A fault of the flow: the time reached and question marks.
        recorder.messages.clear();
        setEntries({"100", "1" + QString(200, '0'), "28", "2.6667"});
        QStringList busyTexts;
        bool waitCursor = false;
        recorder.whileOpen = [&] {
            for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) busyTexts << label(name);
            waitCursor =
                QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };
        calcola();
        QCOMPARE(recorder.messages.size(), std::size_t{1});
        QCOMPARE(recorder.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(recorder.messages[0].title, QStringLiteral("Messaggio di errore"));
        QCOMPARE(recorder.messages[0].text, QStringLiteral("ERRORE NELLA ELABORAZIONE"));
        QCOMPARE(busyTexts, QStringList(4, QStringLiteral("WHITE   ")));
        QVERIFY(waitCursor);
        QCOMPARE(label("Label1"), QStringLiteral("0"));
        for (const char* name : {"Label2", "Label3", "Label4"}) QCOMPARE(label(name), QStringLiteral("?"));
        QVERIFY(label("Label12").isEmpty());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        // The window stays usable; results use the regional decimal separator.
        recorder.whileOpen = nullptr;
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        setEntries({"1", "10", "28", "2.6667"});
        calcola();
        QCOMPARE(recorder.messages.size(), std::size_t{1});
        QCOMPARE(label("Label1"), QStringLiteral("0,2"));
        QVERIFY2(label("Label2").startsWith(QStringLiteral("10,7")), qPrintable(label("Label2")));
        QVERIFY(!label("Label3").contains('.'));
    }
    // Ctrl+E asks for the Explorer at the entries, also from an entry that
    // claims the keys, and adds no control; with an entry refused, at its
    // defaults: the calculator says nothing and keeps its text.
    void ctrlEOpensTheExplorer() {
        const auto widgets = form->findChildren<QWidget*>().size();
        std::vector<std::optional<Parameters>> opened;
        form->setExplorerOpener([&](const std::optional<Parameters>& p) { opened.push_back(p); });
        QCOMPARE(form->findChildren<QWidget*>().size(), widgets);  // no control added
        // With X11's keys (Qt's generic Unix theme) an entry claims Ctrl+E as
        // "end of line"; the offscreen platform's keys do not, so the entries
        // are made to claim it here.
        struct EndOfLineOnCtrlE : QObject {
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::ShortcutOverride &&
                    static_cast<QKeyEvent*>(e)->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_E))
                    e->accept();
                return false;
            }
        } x11Keys;
        field("Text1")->installEventFilter(&x11Keys);
        setEntries({"2000", "12.5", "30", "3"});
        QTest::keyClick(field("Text1"), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(opened.size(), std::size_t{1});
        QVERIFY(opened[0] && opened[0]->n == 2000 && opened[0]->sigma == 12.5 && opened[0]->b == 3);
        field("Text2")->setText(QStringLiteral("abc"));
        QTest::keyClick(field("Text1"), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(opened.size(), std::size_t{2});
        QVERIFY(!opened[1]);
        QVERIFY(recorder.messages.empty());
        QCOMPARE(field("Text2")->text(), QStringLiteral("abc"));
    }
};

VELTRANO_TEST_CLASS(Form1Test, 1);
#include "form1_test.moc"
