#include "form2.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>

#include "fonts.h"
#include "form2_layout.h"
#include "link_label.h"
#include "links.h"
#include "screen_pictures.h"
#include "window_geometry.h"

namespace veltrano {

namespace {

const QColor kLinkBlue(0, 0, 255);
const QColor kActiveBorder(212, 208, 200);  // the standard scheme's active window border

QLabel* createLabel(const AboutControl& c, QWidget* page) {
    const QString text = QString::fromUtf8(c.content);
    QLabel* label = c.kind == AboutKind::Link ? new LinkLabel(text, page) : new QLabel(text, page);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);  // labels are opaque
    QPalette pal = label->palette();
    if (c.kind == AboutKind::Reference) {
        pal.setColor(QPalette::Window, kActiveBorder);
        pal.setColor(QPalette::WindowText, kLinkBlue);
    } else if (c.kind == AboutKind::Link) {
        pal.setColor(QPalette::WindowText, kLinkBlue);
        label->setFont(sansSerifFont(8.25, true));
        label->setCursor(handCursor(page->devicePixelRatioF()));
    }
    label->setPalette(pal);
    return label;
}

QString spokenName(const char* picture) {
    for (const PictureName& p : kPictureNames)
        if (std::string_view(p.picture) == picture) return QString::fromUtf8(p.spoken);
    return {};
}

QLabel* createPicture(const AboutControl& c, QWidget* page) {
    auto* picture = new QLabel(page);
    picture->setAccessibleName(spokenName(c.name));
    picture->setPixmap(screenPicture(QString::fromUtf8(c.content), page->devicePixelRatioF()));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // unscaled, top-left corner
    if (c.name == std::string_view("Picture2")) {
        picture->setAutoFillBackground(true);
        QPalette pal = picture->palette();
        pal.setColor(QPalette::Window, Qt::white);  // the window background colour
        picture->setPalette(pal);
    }
    return picture;
}

}  // namespace

Form2::Form2(QWidget* parent, BrowserFactory browsers, MessageBoxFn messages)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      browsers_(std::move(browsers)),
      messages_(std::move(messages)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral(" About Veltrano"));
    setWindowIcon(programIcon());
    setFont(windowFont());
    setFixedSize(twipsToPixels(kForm2Width), twipsToPixels(kForm2Height));
    setModal(true);

    // SSTab1: a tab strip along the top over a raised pane, one page of
    // controls per tab. It covers the client area but for the last pixel
    // column and row.
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("SSTab1"));
    tab->setGeometry(0, 0, twipsToPixels(6255), twipsToPixels(5175));
    const int strip = twipsToPixels(kTabStripHeight);
    auto* pane = new QFrame(tab);
    pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pane->setGeometry(0, strip - 1, tab->width(), tab->height() - strip + 1);
    tabs_ = new QTabBar(tab);
    tabs_->setObjectName(QStringLiteral("SSTab1Tabs"));
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->addTab(QStringLiteral("Help"));
    tabs_->addTab(QStringLiteral("Contact"));
    tabs_->setGeometry(0, 0, tab->width(), strip);
    tabs_->setFocusPolicy(Qt::StrongFocus);
    tabs_->setAccessibleName(QStringLiteral("Help, Contact"));
    for (int page = 0; page < 2; ++page) {
        // A page spans the tab control below the strip; its controls are
        // placed from the tab control's corner.
        pages_[page] = new QWidget(tab);
        pages_[page]->setObjectName(page == 0 ? QStringLiteral("HelpPage") : QStringLiteral("ContactPage"));
        pages_[page]->setGeometry(2, strip, tab->width() - 4, tab->height() - strip - 2);
    }
    for (const AboutControl& c : kForm2Controls) {
        QWidget* page = pages_[c.page];
        QLabel* w = c.kind == AboutKind::Picture ? createPicture(c, page) : createLabel(c, page);
        w->setObjectName(QString::fromLatin1(c.name));
        if (c.kind != AboutKind::Picture) w->setAccessibleName(w->text());
        w->setGeometry(twipsToPixels(c.left) - page->x(), twipsToPixels(c.top) - page->y(), twipsToPixels(c.width),
                       twipsToPixels(c.height));
    }
    for (const Link& link : kLinks) {
        auto* label = pages_[1]->findChild<LinkLabel*>(QString::fromLatin1(link.label));
        connect(label, &LinkLabel::clicked, this, [this, address = link.address] { openLink(address); });
    }
    connect(tabs_, &QTabBar::currentChanged, this, &Form2::showPage);
    showPage(0);

    auto* close = new QPushButton(QStringLiteral("CHIUDI"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setGeometry(twipsToPixels(kCloseLeft), twipsToPixels(kCloseTop), twipsToPixels(kCloseWidth),
                       twipsToPixels(kCloseHeight));
    close->setAutoDefault(true);  // Enter presses it only while it has the focus
    close->setDefault(false);
    connect(close, &QPushButton::clicked, this, &Form2::Command1_Click);
    setTabOrder(tabs_, close);
    tabs_->setFocus(Qt::OtherFocusReason);
}

Form2::~Form2() = default;

void Form2::showModal(QWidget* parent, BrowserFactory browsers, MessageBoxFn messages) {
    Form2 about(parent, std::move(browsers), std::move(messages));
    centreOnScreen(&about);
    about.exec();
}

void Form2::showPage(int page) {
    // Only the selected page's controls are shown and can be clicked.
    for (int i = 0; i < 2; ++i) pages_[i]->setVisible(i == page);
}

void Form2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {  // Esc does not close the window
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form2::Command1_Click() {
    accept();
}

void Form2::reportLinkFailure(const QString& description) {
    messages_(this, MessageIcon::None, description.isEmpty() ? QStringLiteral("Unknown error") : description,
              QStringLiteral("Error displaying file"));
}

void Form2::openLink(const char* address) {
    try {
        Explorer = browsers_();  // the previous browser object is released
        Explorer->show();
        Explorer->navigate(QUrl(QString::fromLatin1(address)));
    } catch (const BrowserError& error) {
        reportLinkFailure(error.description());
    } catch (const std::exception& error) {
        reportLinkFailure(QString::fromLocal8Bit(error.what()));
    }
}

}  // namespace veltrano
