#include "mainwindow/frmbrowser.h"

#include <cmath>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "mainwindow/form1.h"
#include "platform/vb/runtime_error.h"
#include "store/module1.h"

namespace {

// Runs one statement of a handler; a failure of the browser control skips it.
template <class Statement>
void Preskoc(Statement statement) {
    try {
        statement();
    } catch (const vb::RuntimeError&) {
    }
}

// ---- The toolbar's pictures, 24 x 24 pixels -------------------------------

constexpr int kIcon = 24;

QImage EmptyIcon() {
    QImage image(kIcon, kIcon, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage ArrowIcon(bool left) {
    QImage image = EmptyIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF arrow{{3, 12}, {11, 4}, {11, 9}, {21, 9}, {21, 15}, {11, 15}, {11, 20}};
    if (!left)
        for (QPointF& point : arrow) point.setX(kIcon - point.x());
    p.setPen(QPen(QColor(0, 70, 0), 1));
    p.setBrush(QColor(40, 160, 40));
    p.drawPolygon(arrow);
    return image;
}

QImage StopIcon() {
    QImage image = EmptyIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double angle = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
        octagon << QPointF(12 + 10 * std::cos(angle), 12 + 10 * std::sin(angle));
    }
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(QColor(210, 30, 30));
    p.drawPolygon(octagon);
    p.setPen(QPen(Qt::white, 2.5));
    p.drawLine(QPointF(8, 8), QPointF(16, 16));
    p.drawLine(QPointF(16, 8), QPointF(8, 16));
    return image;
}

QImage RefreshIcon() {
    QImage image = EmptyIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 90, 180), 3));
    p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 180));
    p.drawPolygon(QPolygonF{{13, 1}, {20, 5}, {13, 9}});
    return image;
}

QImage HomeIcon() {
    QImage image = EmptyIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 40, 10), 1));
    p.setBrush(QColor(200, 60, 30));
    p.drawPolygon(QPolygonF{{2, 12}, {12, 3}, {22, 12}});
    p.setBrush(QColor(240, 220, 170));
    p.drawRect(QRectF(5, 12, 14, 9));
    p.setBrush(QColor(120, 70, 30));
    p.drawRect(QRectF(10, 15, 4, 6));
    return image;
}

QImage SearchIcon() {
    QImage image = EmptyIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.drawLine(QPointF(14, 14), QPointF(21, 21));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(3, 3, 12, 12));
    return image;
}

forms::Picture Icon(QImage image) { return forms::Picture::FromImage(std::move(image), 24); }

forms::FormInstance<frmBrowser>* g_prohlizec = nullptr;

}  // namespace

frmBrowser& frmBrowserForm() {
    if (!g_prohlizec) {
        g_prohlizec = new forms::FormInstance<frmBrowser>;
        // The window goes when the program's event loop ends, while the
        // application object that its widgets need still exists.
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
            delete g_prohlizec;
            g_prohlizec = nullptr;
        });
    }
    return g_prohlizec->Get();
}

frmBrowser::frmBrowser() { InitializeComponent(); }

frmBrowser::~frmBrowser() = default;

void frmBrowser::InitializeComponent() {
    Name = "frmBrowser";
    Caption = "";
    SetClientSize(6540, 5055);

    imlIcons.Name = "imlIcons";
    imlIcons.Add("Back", Icon(ArrowIcon(true)));
    imlIcons.Add("Forward", Icon(ArrowIcon(false)));
    imlIcons.Add("Stop", Icon(StopIcon()));
    imlIcons.Add("Refresh", Icon(RefreshIcon()));
    imlIcons.Add("Home", Icon(HomeIcon()));
    imlIcons.Add("Search", Icon(SearchIcon()));

    tbToolBar.Name = "tbToolBar";
    tbToolBar.Move(0, 0, 6540, 540);
    tbToolBar.ImageList = &imlIcons;
    tbToolBar.AddButton("Back", "Back", "Zpět");
    tbToolBar.AddButton("Forward", "Forward", "Vpřed");
    tbToolBar.AddButton("Stop", "Stop", "Zastavit");
    tbToolBar.AddButton("Refresh", "Refresh", "Obnovit");
    tbToolBar.AddButton("Home", "Home", "Domovská stránka");
    tbToolBar.AddButton("Search", "Search", "Sledovat načítání stránky");

    picAddress.Name = "picAddress";
    picAddress.Move(0, 540, 6540, 675);
    picAddress.BorderStyle = 0;

    lblAddress.Name = "lblAddress";
    lblAddress.Move(45, 60, 3075, 255);
    lblAddress.Caption = "&Address:";

    cboAddress.Name = "cboAddress";
    cboAddress.Move(45, 300, 3795, 315);

    brwWebBrowser.Name = "brwWebBrowser";
    brwWebBrowser.Move(50, 1215, 5393, 3734);

    timTimer.Name = "timTimer";
    timTimer.Enabled = false;
    timTimer.Interval = 5;

    tbToolBar.ButtonClick = [this](sys::ToolbarButton& Button) { tbToolBar_ButtonClick(Button); };
    cboAddress.Click = [this] { cboAddress_Click(); };
    cboAddress.KeyPress = [this](int& KeyAscii) { cboAddress_KeyPress(KeyAscii); };
    timTimer.OnTimer = [this] { timTimer_Timer(); };
    brwWebBrowser.DocumentComplete = [this] { ZobrazNazevStranky(); };
}

void frmBrowser::Form_Load() {
    Show();
    tbToolBar.Refresh();
    Form_Resize();
    cboAddress.Move(50, lblAddress.Top + lblAddress.Height + 15);
}

void frmBrowser::Form_Resize() {
    if (ScaleWidth() <= 101) return;
    cboAddress.Width = ScaleWidth() - 100;
    brwWebBrowser.Width = ScaleWidth() - 100;
    const float vyska = ScaleHeight() - (picAddress.Top + picAddress.Height) - 100;
    // The control refuses a negative height; the statement is skipped then.
    if (vyska >= 0) brwWebBrowser.Height = vyska;
}

void frmBrowser::Form_Unload(int&) {
    if (HlavniOkno) HlavniOkno->Visible = true;
}

void frmBrowser::tbToolBar_ButtonClick(sys::ToolbarButton& Button) {
    const std::string& klic = Button.Key;
    if (klic == "Back") {
        Preskoc([this] { brwWebBrowser.GoBack(); });
    } else if (klic == "Forward") {
        Preskoc([this] { brwWebBrowser.GoForward(); });
    } else if (klic == "Refresh") {
        Preskoc([this] { brwWebBrowser.Refresh(); });
    } else if (klic == "Home") {
        Preskoc([this] { brwWebBrowser.GoHome(); });
    } else if (klic == "Search") {
        timTimer.Enabled = true;
    } else if (klic == "Stop") {
        timTimer.Enabled = false;
        Preskoc([this] { brwWebBrowser.Stop(); });
        Preskoc([this] { Caption = brwWebBrowser.LocationName(); });
    }
}

void frmBrowser::cboAddress_Click() {
    Preskoc([this] { brwWebBrowser.Navigate(cboAddress.Text); });
}

void frmBrowser::cboAddress_KeyPress(int& KeyAscii) {
    if (KeyAscii == 13) cboAddress_Click();
}

void frmBrowser::timTimer_Timer() {
    Preskoc([this] {
        if (brwWebBrowser.Busy()) {
            Caption = "Working...";
        } else {
            timTimer.Enabled = false;
            Caption = brwWebBrowser.LocationName();
        }
    });
}

// The page is in: its title in the caption and its address in the address line.
void frmBrowser::ZobrazNazevStranky() {
    Preskoc([this] { Caption = brwWebBrowser.LocationName(); });
    Preskoc([this] { cboAddress.Text = brwWebBrowser.LocationURL(); });
}
