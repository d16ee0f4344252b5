#include "platform/browser/browser.h"

#include <QAction>
#include <QFileInfo>
#include <QIcon>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>

#include "platform/paths/paths.h"
#include "platform/vb/runtime_error.h"

namespace sys {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The page shown where an address cannot be read.
QString UnreachablePage(const QUrl& url) {
    const QString address = url.toDisplayString().toHtmlEscaped();
    return QStringLiteral(
               "<html><head><meta charset=\"utf-8\"><title>%1</title></head><body>"
               "<h2>%1</h2><p>Adresu <b>%2</b> nelze otevřít.</p>"
               "<p>Zkontrolujte, zda adresa nebo cesta k souboru je zapsána správně.</p>"
               "</body></html>")
        .arg(QString::fromUtf8(kUnreachablePageTitle), address);
}

// An address as the program writes it, as a URL. A scheme of two letters or
// more names a URL; a single letter before the colon is a drive.
QUrl AddressToUrl(const std::string& address) {
    const QString text = Q(address).trimmed();
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch()) return QUrl(text);
    if (auto native = text.isEmpty() ? std::nullopt : ToNativePath(text.toStdString()))
        return QUrl::fromLocalFile(Q(*native));
    // No address, or a drive that does not exist: an address that leads nowhere.
    QUrl nowhere;
    nowhere.setScheme(QStringLiteral("unreachable"));
    nowhere.setPath(text);
    return nowhere;
}

// The viewer: local files only; anything it cannot read becomes the
// unreachable-address page, which keeps its place in the history.
class PageView : public QTextBrowser {
public:
    QVariant loadResource(int type, const QUrl& name) override {
        QVariant data;
        if (name.isLocalFile() || name.isRelative()) data = QTextBrowser::loadResource(type, name);
        if (type == QTextDocument::HtmlResource && (!data.isValid() || data.isNull())) return UnreachablePage(name);
        return data;
    }
};

[[noreturn]] void Fail(const char* operation) {
    vb::Raise(kBrowserOperationFailed, "WebBrowser", std::string("Method '") + operation + "' failed");
}

}  // namespace

// ---------------------------------------------------------------- WebBrowser

WebBrowser::WebBrowser(forms::Container& parent) : Control(parent), pending_(std::make_unique<QTimer>()) {
    auto* view = new PageView;
    view->setOpenExternalLinks(false);
    view->setOpenLinks(true);
    pending_->setSingleShot(true);
    pending_->setInterval(0);
    QObject::connect(pending_.get(), &QTimer::timeout, [this] {
        auto step = std::move(step_);
        step_ = nullptr;
        navigating_ = true;
        try {
            if (step) step();
        } catch (...) {
            // A page that cannot be shown leaves the one shown before.
        }
        navigating_ = false;
        busy_ = false;
        Complete();
    });
    // A link followed in the page.
    QObject::connect(view, &QTextBrowser::sourceChanged, [this](const QUrl&) {
        if (navigating_) return;
        Stop();
        Complete();
    });
    Attach(view);
}

WebBrowser::~WebBrowser() = default;

QTextBrowser* WebBrowser::View() const { return static_cast<QTextBrowser*>(Widget()); }

void WebBrowser::Start(std::function<void()> step) {
    step_ = std::move(step);
    busy_ = true;
    pending_->start();
}

void WebBrowser::Complete() {
    if (DocumentComplete) DocumentComplete();
}

void WebBrowser::Navigate(const std::string& address) {
    const QUrl url = AddressToUrl(address);
    Start([this, url] { View()->setSource(url, QTextDocument::HtmlResource); });
}

void WebBrowser::GoBack() {
    if (!View()->isBackwardAvailable()) Fail("GoBack");
    Start([this] { View()->backward(); });
}

void WebBrowser::GoForward() {
    if (!View()->isForwardAvailable()) Fail("GoForward");
    Start([this] { View()->forward(); });
}

void WebBrowser::GoHome() {
    if (View()->source().isEmpty()) Fail("GoHome");
    Start([this] { View()->home(); });
}

void WebBrowser::Stop() {
    pending_->stop();
    step_ = nullptr;
    busy_ = false;
}

void WebBrowser::Refresh() {
    if (View()->source().isEmpty()) return;
    Start([this] { View()->reload(); });
}

std::string WebBrowser::LocationURL() const {
    const QUrl url = View()->source();
    if (url.scheme() == QStringLiteral("unreachable")) return url.path().toStdString();
    return url.toString().toStdString();
}

std::string WebBrowser::LocationName() const {
    const QUrl source = View()->source();
    if (source.isEmpty()) return {};
    QString title = View()->documentTitle();
    if (title.isEmpty()) title = QFileInfo(source.path()).fileName();
    if (title.isEmpty()) title = source.toDisplayString();
    return title.toStdString();
}

// ---------------------------------------------------------------- ImageList

void ImageList::Add(const std::string& key, forms::Picture picture) {
    for (const auto& entry : images_)
        if (entry.first == key) vb::Raise(35602, "ImageList", "Key is not unique in collection");
    images_.emplace_back(key, std::move(picture));
}

const forms::Picture& ImageList::ListImages(const std::string& key) const {
    for (const auto& entry : images_)
        if (entry.first == key) return entry.second;
    vb::Raise(35601, "ImageList", "Element not found");
}

// ---------------------------------------------------------------- Toolbar

void ToolbarButton::PerformClick() {
    if (toolbar_ && toolbar_->Enabled && action_ && action_->isEnabled()) action_->trigger();
}

Toolbar::Toolbar(forms::Container& parent) : Control(parent) {
    auto* bar = new QToolBar;
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(24, 24));
    Attach(bar);
}

Toolbar::~Toolbar() = default;

QToolBar* Toolbar::bar() const { return static_cast<QToolBar*>(Widget()); }

ToolbarButton& Toolbar::AddButton(const std::string& key, const std::string& image, const std::string& toolTipText) {
    auto button = std::make_unique<ToolbarButton>();
    button->Key = key;
    button->Image = image;
    button->ToolTipText = toolTipText;
    button->Index = static_cast<int>(buttons_.size()) + 1;
    button->toolbar_ = this;
    ToolbarButton* b = button.get();
    b->action_ = bar()->addAction(Q(toolTipText));
    QObject::connect(b->action_, &QAction::triggered, [this, b] {
        if (ButtonClick) ButtonClick(*b);
    });
    buttons_.push_back(std::move(button));
    return *b;
}

ToolbarButton& Toolbar::Buttons(int index) const {
    if (index < 1 || index > ButtonCount()) vb::Raise(35600, "Toolbar", "Index out of bounds");
    return *buttons_[static_cast<std::size_t>(index - 1)];
}

ToolbarButton& Toolbar::Buttons(const std::string& key) const {
    for (const auto& button : buttons_)
        if (button->Key == key) return *button;
    vb::Raise(35601, "Toolbar", "Element not found");
}

void Toolbar::Refresh() {
    for (const auto& button : buttons_) {
        QIcon icon;
        if (ImageList && !button->Image.empty()) {
            try {
                icon = QIcon(ImageList->ListImages(button->Image).Pixmap());
            } catch (const vb::RuntimeError&) {
                // A button whose picture is missing shows none.
            }
        }
        button->action_->setIcon(icon);
        button->action_->setToolTip(Q(button->ToolTipText));
        button->action_->setText(Q(button->ToolTipText));
    }
    bar()->update();
}

}  // namespace sys
