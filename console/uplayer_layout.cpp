// Building the console's controls: the regions over the skin, the standby
// screen, the loading panel, the order panel, the request form and the
// diagnostic strip below the skin.
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QRegularExpressionValidator>
#include <climits>

#include "app/umodule.h"
#include "console/buttoncaption.h"
#include "console/skinhost.h"
#include "console/uplayer.h"
#include "widgets/elidedlabel.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kSkinHeight = 768;

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// LabelType is ElidedLabel for texts from the databases, which may be longer
// than their place.
template <typename LabelType = QLabel>
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect place,
                  int pixelSize = 14, bool bold = false) {
    auto* label = Named(new LabelType(text, parent), name);
    label->setGeometry(place);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    // Titles and names from the database show as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

// A label in one of the skin's black text slots: the slot's colour behind it,
// a little room before the text, and anything it covers kept out of sight.
void FillSkinSlot(QLabel* label, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    label->setAlignment(alignment);
    label->setStyleSheet(
        alignment & Qt::AlignLeft
            ? QStringLiteral("color: #f0f0fa; background: black; padding-left: 4px;")
            : QStringLiteral("color: #f0f0fa; background: black;"));
}

SmoothListBox* MakeList(QWidget* parent, const char* name, QRect place, int rowHeight,
                        SmoothListBox::Graphic graphic, int pixelSize) {
    auto* list = Named(new SmoothListBox(parent), name);
    list->setGeometry(place);
    list->setRowHeight(rowHeight);
    list->setGraphic(graphic);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    list->setFont(font);
    return list;
}

SmoothButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* button = Named(new SmoothButton(caption, parent), name);
    button->setGeometry(place);
    FitButtonCaption(button);
    return button;
}

// The text fields of the full-screen panels: dark like the rest, the focused
// one (where the touch keyboard types) marked in the accent colour.
const char* const kOverlayFieldStyle =
    "QLineEdit, QPlainTextEdit { background: #0b0d14; color: #f5f5fa;"
    " border: 1px solid #3a3f5c; border-radius: 6px; padding: 2px 8px;"
    " selection-background-color: #e12837; }"
    "QLineEdit:focus, QPlainTextEdit:focus { border: 2px solid #e12837; }";

SmoothPanel* MakeOverlay(QWidget* parent, const char* name) {
    auto* panel = Named(new SmoothPanel(parent), name);
    panel->setGeometry(0, 0, kWidth, kSkinHeight);
    panel->setCornerRadius(0);
    panel->setFillColor(Qt::black);
    panel->setStyleSheet(QString::fromLatin1(kOverlayFieldStyle));
    return panel;
}

QLineEdit* MakeField(QWidget* parent, const char* name, QRect place) {
    auto* field = Named(new QLineEdit(parent), name);
    field->setGeometry(place);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(18);
    field->setFont(font);
    return field;
}

QSpinBox* MakeSpin(QWidget* parent, const char* name) {
    auto* spin = Named(new QSpinBox(parent), name);
    spin->setRange(INT_MIN, INT_MAX);
    return spin;
}

QComboBox* MakeChoice(QWidget* parent, const char* name, const QStringList& items) {
    auto* choice = Named(new QComboBox(parent), name);
    choice->addItems(items);
    return choice;
}

QListWidget* MakeHiddenList(QWidget* parent, const char* name) {
    auto* list = Named(new QListWidget(parent), name);
    return list;
}

}  // namespace

void Tfplayer::CreateSkinRegions() {
    MainSkinNew = Named(new TSkinHost(this), "MainSkinNew");
    MainSkinNew->setGeometry(0, 0, kWidth, kSkinHeight);

    edtcari = Named(new TUpperCaseEdit(this), "edtcari");
    edtcari->setGeometry(215, 124, 522, 32);
    edtcari->setFrame(false);
    QFont searchFont(QStringLiteral("Tahoma"));
    searchFont.setPixelSize(29);
    edtcari->setFont(searchFont);
    edtcari->setStyleSheet(
        QStringLiteral("color: white; background: black; border: none; padding-left: 6px;"));
    edtcari->setText(QStringLiteral("EDTCARI"));

    AdvSonglist =
        MakeList(this, "AdvSonglist", {33, 181, 778, 266}, 35, SmoothListBox::Graphic::Add, 16);
    AdvSonglist->setGraphicWidth(38);
    lvkategori =
        MakeList(this, "lvkategori", {145, 109, 185, 324}, 50, SmoothListBox::Graphic::None, 13);
    lvkategori->setFillColor(Qt::black);
    lvgenre = MakeList(this, "lvgenre", {0, 484, 129, 282}, 35, SmoothListBox::Graphic::None, 13);
    lvgenre->hide();
    lvPlaylistnNew = MakeList(this, "lvPlaylistnNew", {835, 246, 326, 147}, 35,
                              SmoothListBox::Graphic::Play, 16);
    lvPlaylistnNew->setGraphicWidth(30);
    lblNotice = Named(new NoticeLabel(this), "lblNotice");
    lblNotice->setGeometry(835, 280, 326, 80);
    lblCountPlaylist =
        MakeLabel(this, "lblCountPlaylist", QStringLiteral("00"), {1128, 224, 36, 16}, 11, true);
    lblCountPlaylist->setAlignment(Qt::AlignCenter);

    ProgBar = Named(new RangeSlider(this), "ProgBar");
    ProgBar->setGeometry(40, 458, 722, 34);
    ProgBar->setMinimum(0);
    ProgBar->setMaximum(1000);
    ProgBar->setLeftThumbVisible(false);
    lblwmp = MakeLabel(this, "lblwmp", QStringLiteral("00:00"), {768, 466, 40, 20}, 13, true);
    lblwmp->setAlignment(Qt::AlignCenter);
    Lblnowplay =
        MakeLabel<ElidedLabel>(this, "Lblnowplay", QStringLiteral("No Song"), {500, 27, 317, 20});
    FillSkinSlot(Lblnowplay);
    lblnextsong =
        MakeLabel<ElidedLabel>(this, "lblnextsong", QStringLiteral("No Song"), {935, 27, 211, 20});
    FillSkinSlot(lblnextsong);
    spnDurWmp = MakeSpin(this, "spnDurWmp");
    spnDurWmp->hide();

    lblUserNow = MakeLabel<ElidedLabel>(this, "lblUserNow", QString(), {74, 25, 167, 20});
    lbluser = MakeLabel<ElidedLabel>(this, "lbluser", QString(), {74, 29, 167, 19});
    lbljam = MakeLabel(this, "lbljam", QString(), {289, 29, 87, 19});
    FillSkinSlot(lbljam, Qt::AlignCenter);
    // The guest's name covers the user caption that shares its slot.
    FillSkinSlot(lblUserNow);
    lblUserNow->raise();
    Progbattery = Named(new QProgressBar(this), "Progbattery");
    Progbattery->setGeometry(1152, 25, 49, 21);
    Progbattery->setRange(0, 100);
    Progbattery->setValue(0);
    Progbattery->setTextVisible(false);
    Progbattery->setStyleSheet(QStringLiteral(
        "QProgressBar { background: #13162a; border: 1px solid #3a3f5c; border-radius: 4px; }"
        "QProgressBar::chunk { background: #3cc878; border-radius: 3px; margin: 1px; }"));
}

void Tfplayer::CreateStandbyScreen() {
    pnlStanby = MakeOverlay(this, "pnlStanby");
    hotstart = Named(new HotSpotPicture(pnlStanby), "hotstart");
    hotstart->setGeometry(0, 0, kWidth, kSkinHeight);
    hotstart->addHotSpot(QStringLiteral("start"), QRect(846, 580, 376, 141));
    hotstart->addHotSpot(QStringLiteral("scan"), QRect(840, 515, 134, 52));

    edtscan = Named(new QLineEdit(pnlStanby), "edtscan");
    edtscan->setGeometry(978, 523, 211, 36);
    edtscan->setAlignment(Qt::AlignCenter);
    edtscan->setFrame(false);
    QFont scanFont;
    scanFont.setPixelSize(29);
    scanFont.setBold(true);
    edtscan->setFont(scanFont);
    edtscan->setStyleSheet(QStringLiteral("color: white; background: black; border: none;"));

    AdvSmoothTouchKeyBoard1 = Named(new TouchKeyboard(KeyboardLayout::TelephonePad, pnlStanby),
                                    "AdvSmoothTouchKeyBoard1");
    AdvSmoothTouchKeyBoard1->setGeometry(840, 124, 372, 342);
    AdvSmoothButton5 =
        MakeButton(pnlStanby, "AdvSmoothButton5", QStringLiteral("START"), {856, 590, 356, 121});
    // Between the keypad and the check-in field.
    LblStandbyNotice = Named(new NoticeLabel(pnlStanby), "LblStandbyNotice");
    LblStandbyNotice->setGeometry(840, 470, 372, 42);
}

void Tfplayer::CreateLoadingPanel() {
    AdvPanel1 = Named(new SmoothPanel(this), "AdvPanel1");
    AdvPanel1->setGeometry(485, 260, 344, 223);
    Image1 = Named(new AnimatedPicture(AdvPanel1), "Image1");
    Image1->setGeometry(0, 10, 344, 170);
    Label1 = MakeLabel(AdvPanel1, "Label1", QStringLiteral("Loading"), {0, 180, 344, 33}, 20, true);
    Label1->setAlignment(Qt::AlignCenter);
}

void Tfplayer::CreateOrderPanel() {
    PanelOrder = MakeOverlay(this, "PanelOrder");
    PanelOrder->setFillColor(QColor(10, 10, 16));

    MakeLabel(PanelOrder, "LabelCategory", QStringLiteral("Category"), {20, 16, 220, 30}, 20, true);
    AdvCategory = MakeList(PanelOrder, "AdvCategory", {20, 50, 220, 400}, 50,
                           SmoothListBox::Graphic::None, 16);
    MakeLabel(PanelOrder, "LabelMenu", QStringLiteral("Menu"), {256, 16, 440, 30}, 20, true);
    AdvItem =
        MakeList(PanelOrder, "AdvItem", {256, 50, 440, 400}, 60, SmoothListBox::Graphic::Open, 16);
    Label21 = MakeLabel(AdvItem, "Label21", QStringLiteral("Select Category Menu"),
                        {0, 170, 440, 40}, 18);
    Label21->setAlignment(Qt::AlignCenter);
    MakeLabel(PanelOrder, "LabelListOrder", QStringLiteral("List Order Menu"), {712, 16, 548, 30},
              20, true);
    AdvOrder =
        MakeList(PanelOrder, "AdvOrder", {712, 50, 548, 400}, 60, SmoothListBox::Graphic::Open, 16);
    Label20 = MakeLabel(AdvOrder, "Label20", QStringLiteral("No Order"), {0, 170, 548, 40}, 18);
    Label20->setAlignment(Qt::AlignCenter);

    AdvSmoothTouchKeyBoard2 = Named(new TouchKeyboard(KeyboardLayout::QwertyWithDigits, PanelOrder),
                                    "AdvSmoothTouchKeyBoard2");
    AdvSmoothTouchKeyBoard2->setGeometry(20, 470, 820, 280);
    MakeLabel(PanelOrder, "LabelCatatan", QStringLiteral("Catatan"), {860, 466, 400, 26}, 16, true);
    CattOrderan = Named(new TUpperCasePlainEdit(PanelOrder), "CattOrderan");
    CattOrderan->setGeometry(860, 494, 400, 130);
    AdvSmoothButton4 =
        MakeButton(PanelOrder, "AdvSmoothButton4", QStringLiteral("Cancel"), {860, 646, 190, 100});
    AdvSmoothButton3 = MakeButton(PanelOrder, "AdvSmoothButton3", QStringLiteral("Next Order"),
                                  {1070, 646, 190, 100});

    PanelViewOrder = Named(new SmoothPanel(PanelOrder), "PanelViewOrder");
    PanelViewOrder->setGeometry(330, 80, 620, 400);
    // The pop-ups are opaque: the lists' hints behind them stay out of sight.
    PanelViewOrder->setFillColor(QColor(18, 20, 28));
    MakeLabel(PanelViewOrder, "LabelDetailMenu", QStringLiteral("Menu"), {24, 20, 120, 26}, 16);
    lblMenu =
        MakeLabel<ElidedLabel>(PanelViewOrder, "lblMenu", QString(), {150, 16, 420, 32}, 22, true);
    lblMenu->setProperty("tag", 0);
    MakeLabel(PanelViewOrder, "LabelPrice", QStringLiteral("Price"), {24, 66, 120, 26}, 16);
    LblPrice = MakeLabel(PanelViewOrder, "LblPrice", QString(), {150, 62, 420, 32}, 22);
    MakeLabel(PanelViewOrder, "LabelQty", QStringLiteral("Qty."), {24, 126, 120, 26}, 16);
    BtMinOrder = MakeButton(PanelViewOrder, "BtMinOrder", QStringLiteral("-"), {150, 110, 70, 60});
    AeJum = MakeField(PanelViewOrder, "AeJum", {230, 115, 100, 50});
    AeJum->setReadOnly(true);
    AeJum->setAlignment(Qt::AlignCenter);
    BtPlusOrder =
        MakeButton(PanelViewOrder, "BtPlusOrder", QStringLiteral("+"), {340, 110, 70, 60});
    MakeLabel(PanelViewOrder, "LabelCatatanOrder", QStringLiteral("Catatan Order"),
              {24, 190, 200, 26}, 16);
    Catatan = Named(new TUpperCaseEdit(PanelViewOrder), "Catatan");
    Catatan->setGeometry(24, 220, 572, 46);
    lblHintmenu = MakeLabel(PanelViewOrder, "lblHintmenu", QString(), {24, 276, 200, 20}, 12);
    addOrder =
        MakeButton(PanelViewOrder, "addOrder", QStringLiteral("Add Order"), {24, 310, 200, 70});
    AdvSmoothButton1 = MakeButton(PanelViewOrder, "AdvSmoothButton1",
                                  QStringLiteral("Delete Order"), {240, 310, 200, 70});
    AdvSmoothButton2 =
        MakeButton(PanelViewOrder, "AdvSmoothButton2", QStringLiteral("X"), {536, 310, 60, 70});

    PnlVerify = Named(new SmoothPanel(PanelOrder), "PnlVerify");
    PnlVerify->setGeometry(336, 180, 573, 303);
    PnlVerify->setFillColor(QColor(18, 20, 28));
    Label22 =
        MakeLabel(PnlVerify, "Label22",
                  QStringLiteral("Untuk melanjutkan order ketik kode random berikut pada textbox"),
                  {20, 20, 533, 50}, 16);
    Label22->setWordWrap(true);
    Label27 = MakeLabel(PnlVerify, "Label27", QStringLiteral("\""), {176, 80, 30, 60}, 36, true);
    LblVerify = MakeLabel(PnlVerify, "LblVerify", QString(), {206, 80, 160, 60}, 36, true);
    LblVerify->setAlignment(Qt::AlignCenter);
    Label28 = MakeLabel(PnlVerify, "Label28", QStringLiteral("\""), {366, 80, 30, 60}, 36, true);
    AeVeryfy = Named(new TUpperCaseEdit(PnlVerify), "AeVeryfy");
    AeVeryfy->setGeometry(186, 150, 200, 50);
    AeVeryfy->setAlignment(Qt::AlignCenter);
    AeVeryfy->setMaxLength(4);
    AdvBack = MakeButton(PnlVerify, "AdvBack", QStringLiteral("Back"), {20, 220, 200, 64});
    AdvOK = MakeButton(PnlVerify, "AdvOK", QStringLiteral("OK"), {353, 220, 200, 64});
    // Over the instructions, which the guest has read by the time OK fails.
    LblOrderNotice = Named(new NoticeLabel(PnlVerify, 8000), "LblOrderNotice");
    LblOrderNotice->setGeometry(20, 20, 533, 50);

    LBmenu = MakeHiddenList(PanelOrder, "LBmenu");
    LBmenu->hide();

    vtorder.addField(QStringLiteral("idmenu"), FieldType::Text, 20);
    vtorder.addField(QStringLiteral("qty"), FieldType::Integer);
    vtorder.addField(QStringLiteral("catatan"), FieldType::Text, 50);
    vtorder.addField(QStringLiteral("menu"), FieldType::Text, 50);
    vtorder.addField(QStringLiteral("number"), FieldType::Integer);
}

void Tfplayer::CreateRequestForm() {
    Panel_Request = MakeOverlay(this, "Panel_Request");
    const int labelX = 40;
    const int fieldX = 140;
    MakeLabel(Panel_Request, "LabelNama", QStringLiteral("Nama"), {labelX, 30, 90, 40}, 18);
    edtNama = MakeField(Panel_Request, "edtNama", {fieldX, 30, 420, 40});
    MakeLabel(Panel_Request, "LabelEmail", QStringLiteral("Email"), {labelX, 80, 90, 40}, 18);
    edtEmail = MakeField(Panel_Request, "edtEmail", {fieldX, 80, 420, 40});
    MakeLabel(Panel_Request, "LabelTelp", QStringLiteral("Telp"), {labelX, 130, 90, 40}, 18);
    edtTelp = MakeField(Panel_Request, "edtTelp", {fieldX, 130, 420, 40});
    edtTelp->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edtTelp));

    MakeLabel(Panel_Request, "LabelTitleRequest", QStringLiteral("Title Request"),
              {labelX, 186, 540, 30}, 18, true);
    MakeLabel(Panel_Request, "LabelArtisRequest", QStringLiteral("Artis Request"),
              {640, 186, 540, 30}, 18, true);
    static const char* const kSongNames[5] = {"edtSong1", "edtSong2", "edtSong3", "edtSong4",
                                              "edtSong5"};
    static const char* const kArtisNames[5] = {"edtArtis1", "edtArtis2", "edtArtis3", "edtArtis4",
                                               "edtArtis5"};
    for (int i = 0; i < 5; ++i) {
        edtSong[i] = MakeField(Panel_Request, kSongNames[i], {labelX, 220 + i * 48, 580, 40});
        edtArtis[i] = MakeField(Panel_Request, kArtisNames[i], {640, 220 + i * 48, 600, 40});
    }
    pnlcommand = Named(new SmoothPanel(Panel_Request), "pnlcommand");
    pnlcommand->setGeometry(labelX - 10, 180, 1220, 290);
    pnlcommand->setCaption(QStringLiteral("Pesan"));
    // Opaque: the title and artist lines it covers stay out of sight.
    pnlcommand->setFillColor(QColor(18, 20, 28));
    Mguest = Named(new QPlainTextEdit(pnlcommand), "Mguest");
    Mguest->setGeometry(20, 50, 1180, 220);

    btcancelrequest =
        MakeButton(Panel_Request, "btcancelrequest", QStringLiteral("Cancel"), {640, 30, 280, 140});
    btsubmitrequest =
        MakeButton(Panel_Request, "btsubmitrequest", QStringLiteral("Submit"), {960, 30, 280, 140});
    // Digits for the telephone, "@" "." "-" "_" for the e-mail address.
    AdvSmoothTouchKeyBoard3 = Named(new TouchKeyboard(KeyboardLayout::AddressEntry, Panel_Request),
                                    "AdvSmoothTouchKeyBoard3");
    AdvSmoothTouchKeyBoard3->setGeometry(40, 488, 1200, 270);
}

void Tfplayer::CreateDiagnosticStrip() {
    DiagnosticStrip = Named(new QWidget(this), "DiagnosticStrip");
    DiagnosticStrip->setGeometry(0, kSkinHeight, kWidth, 300);
    DiagnosticStrip->setAttribute(Qt::WA_StyledBackground);
    DiagnosticStrip->setStyleSheet(
        QStringLiteral("#DiagnosticStrip { background: #d8d8d8; } QLabel { color: #202020; }"));

    Sys_idroom = MakeSpin(DiagnosticStrip, "Sys_idroom");
    Sys_Room = Named(new QLineEdit(DiagnosticStrip), "Sys_Room");
    Sys_Port = MakeSpin(DiagnosticStrip, "Sys_Port");
    Sys_Channel = Named(new QLineEdit(DiagnosticStrip), "Sys_Channel");
    SYS_IP = Named(new QLineEdit(DiagnosticStrip), "SYS_IP");
    const QStringList activity{QStringLiteral("NOT ACTIVE"), QStringLiteral("ACTIVE")};
    Sys_Status = MakeChoice(DiagnosticStrip, "Sys_Status", activity);
    Sys_Players = MakeChoice(DiagnosticStrip, "Sys_Players", activity);
    Sys_User = Named(new QLineEdit(DiagnosticStrip), "Sys_User");
    Sys_Jam = Named(new QTimeEdit(DiagnosticStrip), "Sys_Jam");
    Sys_Jam->setDisplayFormat(QStringLiteral("hh:mm:ss"));
    Sys_Durasi = MakeSpin(DiagnosticStrip, "Sys_Durasi");

    LBMain = MakeHiddenList(DiagnosticStrip, "LBMain");
    LBDetails = MakeHiddenList(DiagnosticStrip, "LBDetails");
    Memo1 = Named(new QPlainTextEdit(DiagnosticStrip), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setMaximumBlockCount(kReplyLinesKept);
    cbMode = MakeChoice(DiagnosticStrip, "cbMode",
                        {QStringLiteral("Songlist"), QStringLiteral("Hits"), QStringLiteral("New"),
                         QStringLiteral("Popular"), QStringLiteral("HD")});
    cbtitsing = MakeChoice(DiagnosticStrip, "cbtitsing",
                           {QStringLiteral("Artis"), QStringLiteral("Judul")});
    SpinEdit1 = MakeSpin(DiagnosticStrip, "SpinEdit1");
    SpinEdit2 = MakeSpin(DiagnosticStrip, "SpinEdit2");
    SpinEdit3 = MakeSpin(DiagnosticStrip, "SpinEdit3");
    SpinEdit5 = MakeSpin(DiagnosticStrip, "SpinEdit5");
    Edit2 = Named(new QLineEdit(DiagnosticStrip), "Edit2");
    Button2 = Named(new QPushButton(QStringLiteral("Menu"), DiagnosticStrip), "Button2");
    Button3 = Named(new QPushButton(QStringLiteral("Song Request"), DiagnosticStrip), "Button3");
    Button4 = Named(new QPushButton(QStringLiteral("Command"), DiagnosticStrip), "Button4");
    Button5 = Named(new QPushButton(QStringLiteral("Button5"), DiagnosticStrip), "Button5");
    getVersion =
        Named(new QPushButton(QStringLiteral("getVersion"), DiagnosticStrip), "getVersion");

    auto* grid = new QGridLayout(DiagnosticStrip);
    grid->setContentsMargins(8, 8, 8, 8);
    const std::pair<const char*, QWidget*> fields[] = {
        {"Sys_idroom", Sys_idroom},   {"Sys_Room", Sys_Room},   {"Sys_Port", Sys_Port},
        {"Sys_Channel", Sys_Channel}, {"SYS_IP", SYS_IP},       {"Sys_Status", Sys_Status},
        {"Sys_Players", Sys_Players}, {"Sys_User", Sys_User},   {"Sys_Jam", Sys_Jam},
        {"Sys_Durasi", Sys_Durasi},   {"cbMode", cbMode},       {"cbtitsing", cbtitsing},
        {"SpinEdit1", SpinEdit1},     {"SpinEdit2", SpinEdit2}, {"SpinEdit3", SpinEdit3},
        {"SpinEdit5", SpinEdit5},
    };
    int row = 0;
    for (const auto& [caption, widget] : fields) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), DiagnosticStrip), row % 8,
                        (row / 8) * 2);
        grid->addWidget(widget, row % 8, (row / 8) * 2 + 1);
        ++row;
    }
    grid->addWidget(new QLabel(QStringLiteral("Edit2"), DiagnosticStrip), 0, 4);
    grid->addWidget(Edit2, 0, 5);
    grid->addWidget(Memo1, 1, 4, 4, 2);
    grid->addWidget(LBMain, 5, 4, 3, 1);
    grid->addWidget(LBDetails, 5, 5, 3, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button2, Button3, Button4, Button5, getVersion}) {
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 8, 0, 1, 6);
}

void Tfplayer::CreateTimers() {
    auto make = [this](const char* name, int interval) {
        auto* timer = Named(new QTimer(this), name);
        timer->setInterval(interval);
        return timer;
    };
    TimerPreparation = make("TimerPreparation", 1000);
    TmrHandle = make("TmrHandle", 1000);
    Tmrbattery = make("Tmrbattery", 1000);
    Timer1 = make("Timer1", 1000);
    tmrsearching = make("tmrsearching", 50);
}
