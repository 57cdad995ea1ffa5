#include "form1.h"

#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <variant>

#include "computation_run.h"
#include "entry_field.h"
#include "etched_frame.h"
#include "fonts.h"
#include "form1_layout.h"
#include "image_control.h"
#include "parameter_check.h"
#include "result_labels.h"
#include "screen_pictures.h"

namespace veltrano {

namespace {

QFont fontFor(FontRole role) {
    switch (role) {
        case FontRole::Window:
            return windowFont();
        case FontRole::Sans975:
            return sansSerifFont(9.75);
        case FontRole::Greek12:
            return sansSerifFont(12);
        case FontRole::Greek975:
            return sansSerifFont(9.75);
    }
    return windowFont();
}

// The looks are shared: Image1 and Image4 show the same picture.
QPixmap picture(const QString& resource, qreal devicePixelRatio) {
    static QHash<QString, QPixmap> loaded;
    const QString key = resource + QLatin1Char('@') + QString::number(devicePixelRatio);
    auto it = loaded.find(key);
    if (it == loaded.end()) it = loaded.insert(key, screenPicture(resource, devicePixelRatio));
    return *it;
}

QWidget* createControl(const ControlSpec& item, QWidget* container) {
    const QString text = QString::fromUtf8(item.text);
    QWidget* w = nullptr;
    switch (item.kind) {
        case ControlKind::Button: {
            auto* b = new QPushButton(text, container);
            b->setAutoDefault(false);  // Enter in a field clicks nothing
            w = b;
            break;
        }
        case ControlKind::Entry: {
            auto* e = new EntryField(text, container);
            e->setAlignment(item.alignment | Qt::AlignVCenter);
            w = e;
            break;
        }
        case ControlKind::Label:
        case ControlKind::ResultLabel: {
            auto* l = new QLabel(text, container);
            l->setAlignment(item.alignment | Qt::AlignTop);
            l->setWordWrap(false);
            if (item.kind == ControlKind::ResultLabel) {
                l->setFrameStyle(QFrame::Box | QFrame::Plain);
                l->setLineWidth(1);
                l->setMargin(2);
                l->setAutoFillBackground(true);
                QPalette pal = l->palette();
                pal.setColor(QPalette::Window, Qt::white);
                pal.setColor(QPalette::WindowText, Qt::black);
                l->setPalette(pal);
            }
            w = l;
            break;
        }
        case ControlKind::Frame:
            w = new EtchedFrame(text, container);
            break;
        case ControlKind::Image: {
            auto* image = new ImageControl(container);
            image->setPixmap(picture(text, container->devicePixelRatioF()));
            w = image;
            break;
        }
    }
    w->setObjectName(QString::fromLatin1(item.name));
    w->setAccessibleName(QString::fromUtf8(item.accessibleName));
    w->setFont(fontFor(item.font));
    w->setGeometry(twipsToPixels(item.left), twipsToPixels(item.top), twipsToPixels(item.width),
                   twipsToPixels(item.height));
    w->setVisible(item.visible);
    return w;
}

}  // namespace

Form1::Form1(MessageBoxFn messages, AboutOpener openAbout, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      messages_(std::move(messages)),
      openAbout_(std::move(openAbout)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" Veltrano"));
    setWindowIcon(programIcon());
    setFont(windowFont());
    setFixedSize(twipsToPixels(kForm1Width), twipsToPixels(kForm1Height));
    setMouseTracking(true);
    buildControls();
    results_ = std::make_unique<ResultLabels>(this, std::array<QLabel*, 5>{Label1, Label2, Label3, Label4, Label12},
                                              messages_);
    Text1->setFocus(Qt::OtherFocusReason);
    // The picture takes only the mouse; F1 opens the About window from the
    // keyboard, and for a screen reader, whose user never sees the picture.
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    about->setObjectName(QStringLiteral("AboutShortcut"));
    connect(about, &QShortcut::activated, this, [this] {
        if (openAbout_) openAbout_(this);
    });
}

Form1::~Form1() = default;

void Form1::buildControls() {
    for (const ControlSpec& item : kForm1Controls) {
        QWidget* container = item.container ? findChild<QWidget*>(QString::fromLatin1(item.container)) : this;
        createControl(item, container);
    }
    const auto find = [this]<class T>(T*& member, const char* name) {
        member = findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(member);
    };
    find(Text1, "Text1");
    find(Text2, "Text2");
    find(Text3, "Text3");
    find(Text4, "Text4");
    find(Command1, "Command1");
    find(Command2, "Command2");
    find(Label1, "Label1");
    find(Label2, "Label2");
    find(Label3, "Label3");
    find(Label4, "Label4");
    find(Label12, "Label12");
    find(Image1, "Image1");
    find(Image2, "Image2");
    find(Image3, "Image3");
    find(Image4, "Image4");

    for (QWidget* w : findChildren<QWidget*>()) w->setFocusPolicy(Qt::NoFocus);
    for (QWidget* w : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text2), static_cast<QWidget*>(Text3),
                       static_cast<QWidget*>(Text4), static_cast<QWidget*>(Command1)})
        w->setFocusPolicy(Qt::StrongFocus);
    Command2->setFocusPolicy(Qt::ClickFocus);  // takes the focus when clicked, but no tab stop
    QWidget* previous = nullptr;
    for (const char* name : kForm1TabOrder) {
        QWidget* w = findChild<QWidget*>(QString::fromLatin1(name));
        if (previous) setTabOrder(previous, w);
        previous = w;
    }

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Image1, &ImageControl::mousePressed, this, &Form1::Image1_MouseDown);
    connect(Image1, &ImageControl::mouseMoved, this, &Form1::Image1_MouseMove);
}

void Form1::Command1_Click() {
    // Blank the previous results, each label painted at once: the
    // computation that may follow keeps the window from painting.
    for (ResultField field :
         {ResultField::Seconds, ResultField::Time, ResultField::Lambda1, ResultField::Lambda2, ResultField::Lambda3})
        results_->setField(field, {}, true);

    const std::u16string texts[4] = {Text1->text().toStdU16String(), Text2->text().toStdU16String(),
                                     Text3->text().toStdU16String(), Text4->text().toStdU16String()};
    const auto checked = checkEntries({texts[0], texts[1], texts[2], texts[3]});
    if (const auto* error = std::get_if<EntryError>(&checked)) {
        EntryField* const fields[] = {Text1, Text2, Text3, Text4};
        failEntry(fields[static_cast<int>(error->entry)],
                  QString::fromUtf8(error->message.data(), static_cast<qsizetype>(error->message.size())));
        return;
    }
    computeAndShow(spectrum_, std::get<Parameters>(checked), *results_, clock_);
}

void Form1::failEntry(EntryField* field, const QString& message) {
    messages_(this, MessageIcon::Warning, kMessageTitle, message);
    field->setText(QStringLiteral("?"));
    field->setSelection(0, static_cast<int>(field->text().size()));
    field->setFocus(Qt::OtherFocusReason);
}

void Form1::Command2_Click() {
    Text1->setFocus(Qt::OtherFocusReason);
}

void Form1::Image1_MouseDown() {
    Image1->setPixmap(Image2->pixmap());
    if (openAbout_) openAbout_(this);
}

void Form1::Image1_MouseMove() {
    Image1->setPixmap(Image3->pixmap());
}

void Form1::setExplorerOpener(ExplorerOpener open) {
    openExplorer_ = std::move(open);
    if (!findChild<QShortcut*>(QStringLiteral("ExplorerShortcut"))) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
        shortcut->setObjectName(QStringLiteral("ExplorerShortcut"));
        connect(shortcut, &QShortcut::activated, this, &Form1::openExplorer);
        for (EntryField* entry : {Text1, Text2, Text3, Text4}) entry->installEventFilter(this);
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Where the desktop's keys make Ctrl+E "end of line", an entry claims it
    // before any shortcut; in this window it opens the Explorer from every
    // entry, so the entries leave it to the window's shortcut.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_E)) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::openExplorer() {
    if (!openExplorer_) return;
    // The entries are only read: nothing is reported, nothing in the window changes.
    const std::u16string texts[4] = {Text1->text().toStdU16String(), Text2->text().toStdU16String(),
                                     Text3->text().toStdU16String(), Text4->text().toStdU16String()};
    const auto checked = checkEntries({texts[0], texts[1], texts[2], texts[3]});
    if (const auto* p = std::get_if<Parameters>(&checked))
        openExplorer_(*p);
    else
        openExplorer_(std::nullopt);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    // Only the bare surface restores the normal look, not the controls on it.
    if (!childAt(event->position().toPoint())) Image1->setPixmap(Image4->pixmap());
    QWidget::mouseMoveEvent(event);
}

}  // namespace veltrano
