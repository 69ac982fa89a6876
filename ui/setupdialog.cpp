#include "ui/setupdialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QShowEvent>
#include <algorithm>

#include "app/station/pointing.h"
#include "ui/displaytext.h"
#include "ui/widgets.h"

namespace skyrel {
namespace {

constexpr int kFormNumber = 2;
constexpr int kBoxHeight = 21;

const QString kFeedHint = QStringLiteral(" R-click to rename. ");
const QString kListHint = QStringLiteral(" Click to highlight selection!! ");

constexpr std::array<Feed, 3> kFeeds = {Feed::L, Feed::S, Feed::X};

void Run(const std::function<void()>& hook) {
    if (hook) hook();
}

void Name(QWidget* widget, const char* name) { widget->setObjectName(QLatin1String(name)); }

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, const QRect& geometry) {
    auto* group = new QGroupBox(title, parent);
    Name(group, name);
    group->setGeometry(geometry);
    return group;
}

QLineEdit* Box(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
    auto* box = new QLineEdit(text, parent);
    Name(box, name);
    box->setGeometry(left, top, width, kBoxHeight);
    return box;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
    auto* check = new QCheckBox(text, parent);
    Name(check, name);
    check->setGeometry(left, top, width, 17);
    return check;
}

QRadioButton* Radio(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
    auto* radio = new QRadioButton(text, parent);
    Name(radio, name);
    radio->setGeometry(left, top, width, 17);
    return radio;
}

QListWidget* OneRowList(QWidget* parent, const char* name, const QStringList& items, int left, int top, int width) {
    auto* list = new QListWidget(parent);
    Name(list, name);
    list->addItems(items);
    // One row shows; the user scrolls to the others.
    list->setGeometry(left, top, width, list->sizeHintForRow(0) + 2 * list->frameWidth());
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setToolTip(kListHint);
    return list;
}

// A key press that would put a character into a box. Tab and Shift+Tab move the focus and Delete
// removes text; none of them types anything.
bool TypesCharacter(const QKeyEvent& event) {
    const int key = event.key();
    return !event.text().isEmpty() && key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Delete;
}

bool IsEditingShortcut(const QKeyEvent& event) {
    for (const QKeySequence::StandardKey shortcut :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo})
        if (event.matches(shortcut)) return true;
    return false;
}

// The clipboard's text without the characters a number box refuses, in place of the selection.
void PasteNumberCharacters(QLineEdit& box) {
    QString text = QGuiApplication::clipboard()->text();
    text.removeIf([](QChar c) { return !IsNumberBoxCharacter(c) || c == QChar(0x08); });
    box.insert(text);
}

}  // namespace

bool IsNumberBoxCharacter(QChar character) {
    return (character >= QLatin1Char('0') && character <= QLatin1Char('9')) || character == QLatin1Char('-') ||
           character == QLatin1Char('.') || character == QChar(0x08);
}

TSMForm2::TSMForm2(AppState& state, const nav::ClockSource& clock, SettingsStore& store)
    : SecondaryWindow(store, kFormNumber, QStringLiteral(" Setup  Skyrel / Brenlo"), QSize(532, 395), true),
      state_(state),
      clock_(clock) {
    setObjectName(QStringLiteral("SMForm2"));
    buildControls();
}

void TSMForm2::setHooks(SetupHooks hooks) { hooks_ = std::move(hooks); }

void TSMForm2::buildControls() {
    // Made in the order the keyboard focus visits them.
    GroupBox3 = Group(this, "GroupBox3", QStringLiteral("Map Features"), QRect(16, 160, 249, 89));
    CheckBox1 = Check(GroupBox3, "CheckBox1", QStringLiteral("Sun Horizon"), 8, 20, 113);
    CheckBox3 = Check(GroupBox3, "CheckBox3", QStringLiteral("Moon Horizon"), 128, 20, 113);
    CheckBox2 = Check(GroupBox3, "CheckBox2", QStringLiteral("Sub Sun Pt."), 8, 42, 113);
    CheckBox4 = Check(GroupBox3, "CheckBox4", QStringLiteral("Sub Moon Pt."), 128, 42, 113);
    CheckBox5 = Check(GroupBox3, "CheckBox5", QStringLiteral("Darkness"), 8, 64, 113);
    CheckBox6 = Check(GroupBox3, "CheckBox6", QStringLiteral("Moonlight"), 128, 64, 113);
    CheckBox6->setEnabled(false);

    Button1 = new QPushButton(QStringLiteral("Save"), this);
    Name(Button1, "Button1");
    Button1->setGeometry(32, 320, 57, 25);

    GroupBox1 = Group(this, "GroupBox1", QStringLiteral("Clock Offset from UTC (hrs):"), QRect(16, 8, 209, 49));
    RadioButton1 = Radio(GroupBox1, "RadioButton1", QStringLiteral("Auto"), 8, 22, 53);
    RadioButton2 = Radio(GroupBox1, "RadioButton2", QStringLiteral("Manual"), 64, 22, 65);
    RadioButton1->setChecked(true);
    Edit1 = Box(GroupBox1, "Edit1", QString(), 136, 19, 57);
    Edit1->hide();

    GroupBox8 = Group(this, "GroupBox8", QStringLiteral("Tracking"), QRect(320, 176, 201, 65));
    AddCaption(GroupBox8, QStringLiteral("Com Port / DDE:"), 8, 20);
    QStringList ports{QStringLiteral("DDE")};
    for (int port = 1; port <= 12; ++port) ports << QString::number(port);
    ListBox1 = OneRowList(GroupBox8, "ListBox1", ports, 120, 18, 49);
    Label2 = AddCaption(GroupBox8, QStringLiteral("Baud Rate:"), 8, 42);
    Name(Label2, "Label2");
    QStringList rates;
    for (int index = 0; index < kBaudRateCount; ++index) rates << QString::number(BaudRateOfIndex(index));
    ListBox2 = OneRowList(GroupBox8, "ListBox2", rates, 120, 40, 65);

    GroupBox9 = Group(this, "GroupBox9", QStringLiteral("Park (deg)"), QRect(320, 248, 201, 49));
    Label3 = AddCaption(GroupBox9, QStringLiteral("Azm:"), 8, 22);
    Name(Label3, "Label3");
    Edit2 = Box(GroupBox9, "Edit2", QStringLiteral("0.0"), 40, 19, 57);
    Label4 = AddCaption(GroupBox9, QStringLiteral("Elev:"), 104, 22);
    Name(Label4, "Label4");
    Edit3 = Box(GroupBox9, "Edit3", QStringLiteral("0.0"), 136, 19, 57);

    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Name(Button2, "Button2");
    Button2->setGeometry(32, 280, 57, 25);

    const std::array<const char*, 3> groupNames = {"GroupBox5", "GroupBox6", "GroupBox7"};
    const std::array<std::array<const char*, 3>, 3> controlNames = {
        {{"Edit4", "Edit5", "CheckBox7"}, {"Edit6", "Edit7", "CheckBox8"}, {"Edit8", "Edit9", "CheckBox9"}}};
    std::array<QLineEdit*, 6> feedBoxes{};
    for (int i = 0; i < 3; ++i) {
        QGroupBox* group = Group(this, groupNames[i], kBuiltInFeedCaptions[i], QRect(280, 8 + 56 * i, 240, 49));
        group->setToolTip(kFeedHint);
        AddCaption(group, QStringLiteral("Azm:"), 8, 22);
        feedBoxes[2 * i] = Box(group, controlNames[i][0], QStringLiteral("0.0"), 40, 19, 49);
        AddCaption(group, QStringLiteral("Elev:"), 96, 22);
        feedBoxes[2 * i + 1] = Box(group, controlNames[i][1], QStringLiteral("0.0"), 128, 19, 49);
        feedActive_[i] = Check(group, controlNames[i][2], QStringLiteral("Active"), 184, 21, 53);
        feedGroups_[i] = group;
        group->installEventFilter(this);
    }
    GroupBox5 = feedGroups_[0];
    GroupBox6 = feedGroups_[1];
    GroupBox7 = feedGroups_[2];
    Edit4 = feedBoxes[0];
    Edit5 = feedBoxes[1];
    Edit6 = feedBoxes[2];
    Edit7 = feedBoxes[3];
    Edit8 = feedBoxes[4];
    Edit9 = feedBoxes[5];
    CheckBox7 = feedActive_[0];
    CheckBox8 = feedActive_[1];
    CheckBox9 = feedActive_[2];
    CheckBox7->setChecked(true);

    GroupBox10 = Group(this, "GroupBox10", QStringLiteral("Static Az/El Offset (deg)"), QRect(320, 308, 201, 49));
    Label11 = AddCaption(GroupBox10, QStringLiteral("Azm:"), 8, 22);
    Name(Label11, "Label11");
    Edit10 = Box(GroupBox10, "Edit10", QStringLiteral("0.0"), 40, 19, 57);
    Edit10->setToolTip(QStringLiteral(" left/right arrows to increase/decrease Az "));
    Label12 = AddCaption(GroupBox10, QStringLiteral("Elev:"), 104, 22);
    Name(Label12, "Label12");
    Edit11 = Box(GroupBox10, "Edit11", QStringLiteral("0.0"), 136, 19, 57);
    Edit11->setToolTip(QStringLiteral(" up/dn arrows to increase/decrease El "));

    GroupBox4 = Group(this, "GroupBox4", QStringLiteral("Output Format"), QRect(120, 264, 169, 113));
    const std::array<const char*, 4> radioNames = {"RadioButton3", "RadioButton4", "RadioButton5", "RadioButton6"};
    for (int i = 0; i < 4; ++i)
        formatButtons_[i] =
            Radio(GroupBox4, radioNames[i], QLatin1String(kOutputFormats[i].caption), 8, 22 + 22 * i, 153);
    RadioButton3 = formatButtons_[0];
    RadioButton4 = formatButtons_[1];
    RadioButton5 = formatButtons_[2];
    RadioButton6 = formatButtons_[3];
    RadioButton3->setChecked(true);

    GroupBox2 = Group(this, "GroupBox2", QStringLiteral("Observer Features"), QRect(16, 72, 249, 81));
    AddCaption(GroupBox2, QStringLiteral("Lat: "), 8, 23);
    Edit12 = Box(GroupBox2, "Edit12", QStringLiteral("38.02"), 40, 20, 81);
    AddCaption(GroupBox2, QStringLiteral("Lon:"), 128, 23);
    Edit13 = Box(GroupBox2, "Edit13", QStringLiteral("-78.63"), 160, 20, 81);
    AddCaption(GroupBox2, QStringLiteral("Elev(m):"), 8, 51);
    Edit14 = Box(GroupBox2, "Edit14", QStringLiteral("300"), 64, 48, 57);
    AddCaption(GroupBox2, QStringLiteral("Name:"), 128, 51);
    Edit15 = Box(GroupBox2, "Edit15", QStringLiteral("Brenlo"), 160, 48, 81);
    Edit15->setToolTip(QStringLiteral(" Max 16 characters! "));

    const std::vector<QWidget*> focusOrder = {
        CheckBox1, CheckBox3, CheckBox2,    CheckBox4,    CheckBox5,    CheckBox6,    Button1, RadioButton1,
        RadioButton2, Edit1, ListBox1,     ListBox2,     Edit2,        Edit3,        Button2, Edit4,
        Edit5,     CheckBox7, Edit6,        Edit7,        CheckBox8,    Edit8,        Edit9,   CheckBox9,
        Edit10,    Edit11,    RadioButton3, RadioButton4, RadioButton5, RadioButton6, Edit12,  Edit13,
        Edit14,    Edit15};
    for (size_t i = 1; i < focusOrder.size(); ++i) setTabOrder(focusOrder[i - 1], focusOrder[i]);

    numberBoxes_ = {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11, Edit12, Edit13, Edit14};
    for (QLineEdit* box : numberBoxes_) box->installEventFilter(this);

    connect(Button1, &QPushButton::clicked, this, &TSMForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSMForm2::Button2Click);
    // A radio button reacts when it becomes checked, by the user or by code; one that is unchecked
    // because a sibling was checked does nothing. Check boxes react to every change of state.
    const auto onChecked = [this](QRadioButton* button, void (TSMForm2::*reaction)()) {
        connect(button, &QRadioButton::toggled, this, [this, reaction](bool checked) {
            if (checked) (this->*reaction)();
        });
    };
    onChecked(RadioButton1, &TSMForm2::RadioButton1Click);
    onChecked(RadioButton2, &TSMForm2::RadioButton2Click);
    onChecked(RadioButton3, &TSMForm2::RadioButton3Click);
    onChecked(RadioButton4, &TSMForm2::RadioButton4Click);
    onChecked(RadioButton5, &TSMForm2::RadioButton5Click);
    onChecked(RadioButton6, &TSMForm2::RadioButton6Click);
    connect(CheckBox5, &QCheckBox::toggled, this, &TSMForm2::CheckBox5Click);
    connect(CheckBox7, &QCheckBox::toggled, this, &TSMForm2::CheckBox7Click);
    connect(CheckBox8, &QCheckBox::toggled, this, &TSMForm2::CheckBox8Click);
    connect(CheckBox9, &QCheckBox::toggled, this, &TSMForm2::CheckBox9Click);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TSMForm2::ListBox1Click);
}

void TSMForm2::showEvent(QShowEvent* event) {
    // Restoring the window from the task bar is not a new showing: the fields stay as they are.
    if (!event->spontaneous()) FillOnShow();
    SecondaryWindow::showEvent(event);
}

void TSMForm2::FillOnShow() {
    Settings& s = state_.settings;
    CheckBox1->setChecked(s.sunHorizon);
    CheckBox3->setChecked(s.moonHorizon);
    CheckBox2->setChecked(s.sunSubPoint);
    CheckBox4->setChecked(s.moonSubPoint);
    CheckBox5->setChecked(s.sunShadow);
    CheckBox6->setChecked(s.moonShadow);

    if (s.autoTime) {
        RadioButton1->setChecked(true);
        RadioButton1Click();
    } else {
        RadioButton2->setChecked(true);
        RadioButton2Click();
    }

    Edit12->setText(FixedText(s.site.latitude, 6, 4));
    Edit13->setText(FixedText(s.site.longitude, 7, 4));
    Edit14->setText(FixedText(s.site.height, 5, 0));
    Edit15->setText(QString::fromStdString(s.site.name));

    ListBox1->setCurrentRow(s.comPort);
    ListBox1Click();
    ListBox2->setCurrentRow(BaudIndexOfRate(s.baudRate));

    Edit2->setText(FixedText(s.parkAz, 4, 1));
    Edit3->setText(FixedText(s.parkEl, 3, 1));
    const std::array<std::pair<QLineEdit*, QLineEdit*>, 4> offsetBoxes = {
        {{Edit10, Edit11}, {Edit4, Edit5}, {Edit6, Edit7}, {Edit8, Edit9}}};
    for (int i = 0; i < 4; ++i) {
        offsetBoxes[i].first->setText(FixedText(s.offsetAz[i], 4, 1));
        offsetBoxes[i].second->setText(FixedText(s.offsetEl[i], 3, 1));
    }

    // No feed in effect shows no box ticked: a choice of no feed is stored and comes back after a start.
    const Feed feed = s.activeFeed;
    for (int i = 0; i < 3; ++i) {
        if (kFeeds[i] == feed) feedActive_[i]->setChecked(true);
    }
    for (int i = 0; i < 3; ++i) {
        if (kFeeds[i] != feed) feedActive_[i]->setChecked(false);
    }

    for (int i = 0; i < 3; ++i) feedGroups_[i]->setTitle(s.feedCaption[i]);

    const QString format = s.outputFormat;
    for (int i = 0; i < 4; ++i) {
        if (format == QLatin1String(kOutputFormats[i].name)) formatButtons_[i]->setChecked(true);
    }
    showFormatLabels(format);
}

SetupForm TSMForm2::currentForm() const {
    const Settings& s = state_.settings;
    SetupForm form;
    form.sunHorizon = CheckBox1->isChecked();
    form.sunSubPoint = CheckBox2->isChecked();
    form.moonHorizon = CheckBox3->isChecked();
    form.moonSubPoint = CheckBox4->isChecked();
    form.sunShadow = CheckBox5->isChecked();
    // Counts even while "Darkness" keeps it disabled.
    form.moonShadow = CheckBox6->isChecked();
    form.autoTime = RadioButton1->isChecked();
    form.clockOffset = Edit1->text();
    form.latitude = Edit12->text();
    form.longitude = Edit13->text();
    form.height = Edit14->text();
    form.name = Edit15->text();
    form.portIndex = ListBox1->currentRow() >= 0 ? ListBox1->currentRow() : s.comPort;
    form.baudIndex = ListBox2->currentRow() >= 0 ? ListBox2->currentRow() : BaudIndexOfRate(s.baudRate);
    form.parkAz = Edit2->text();
    form.parkEl = Edit3->text();
    form.offsetAz = {Edit10->text(), Edit4->text(), Edit6->text(), Edit8->text()};
    form.offsetEl = {Edit11->text(), Edit5->text(), Edit7->text(), Edit9->text()};
    form.activeFeed = Feed::None;
    for (int i = 2; i >= 0; --i) {
        if (feedActive_[i]->isChecked()) form.activeFeed = kFeeds[i];
    }
    form.outputFormat = s.outputFormat;
    for (int i = 3; i >= 0; --i) {
        if (formatButtons_[i]->isChecked()) form.outputFormat = QLatin1String(kOutputFormats[i].name);
    }
    return form;
}

void TSMForm2::Button1Click() {
    const SaveActions actions{hooks_.stopTimer, hooks_.applySite, hooks_.openPortIfTracking, hooks_.closePort,
                              [this] { showStoreFailure(); }};
    if (const auto error =
            SaveSettings(store(), clock_, currentForm(), state_.settings, state_.tracking, actions)) {
        showConversionError(*error);
        return;
    }
    hide();
    Run(hooks_.startTimer);
    Run(hooks_.redrawMapIfVisible);
}

void TSMForm2::Button2Click() {
    hide();
    Run(hooks_.redrawMapIfVisible);
}

void TSMForm2::showConversionError(const SetupFormError& error) {
    boxOf(error.field)->setFocus();
    ShowMessage(this, QMessageBox::Critical, error.message, QStringLiteral("ErrorBox"));
}

void TSMForm2::showStoreFailure() {
    ShowMessage(this, QMessageBox::Critical,
                QStringLiteral("The settings could not be written to disk. They are in effect until the program "
                               "ends; check that the settings folder is writable and save again."),
                QStringLiteral("StoreFailureBox"));
}

QLineEdit* TSMForm2::boxOf(SetupField field) const {
    switch (field) {
        case SetupField::ClockOffset: return Edit1;
        case SetupField::Latitude: return Edit12;
        case SetupField::Longitude: return Edit13;
        case SetupField::Height: return Edit14;
        case SetupField::ParkAz: return Edit2;
        case SetupField::ParkEl: return Edit3;
        case SetupField::LOffsetAz: return Edit4;
        case SetupField::LOffsetEl: return Edit5;
        case SetupField::SOffsetAz: return Edit6;
        case SetupField::SOffsetEl: return Edit7;
        case SetupField::XOffsetAz: return Edit8;
        case SetupField::XOffsetEl: return Edit9;
        case SetupField::StaticOffsetAz: return Edit10;
        case SetupField::StaticOffsetEl: return Edit11;
    }
    return Edit1;
}

void TSMForm2::RadioButton1Click() { Edit1->hide(); }

void TSMForm2::RadioButton2Click() {
    Edit1->setText(FixedText(state_.settings.clockOffset, 3, 1));
    Edit1->show();
}

void TSMForm2::CheckBox5Click() { CheckBox6->setEnabled(CheckBox5->isChecked()); }

void TSMForm2::ListBox1Click() {
    const bool serial = ListBox1->currentRow() != 0;
    ListBox2->setEnabled(serial);
    Label2->setEnabled(serial);
}

void TSMForm2::CheckBox7Click() { feedBoxClicked(0); }
void TSMForm2::CheckBox8Click() { feedBoxClicked(1); }
void TSMForm2::CheckBox9Click() { feedBoxClicked(2); }

void TSMForm2::feedBoxClicked(int feedIndex) {
    if (!feedActive_[feedIndex]->isChecked()) {
        state_.settings.activeFeed = Feed::None;
        return;
    }
    // Unticking the others sets no feed for a moment; this feed is set last.
    for (int i = 0; i < 3; ++i) {
        if (i != feedIndex) feedActive_[i]->setChecked(false);
    }
    state_.settings.activeFeed = kFeeds[feedIndex];
}

void TSMForm2::RadioButton3Click() { chooseOutputFormat(0); }
void TSMForm2::RadioButton4Click() { chooseOutputFormat(1); }
void TSMForm2::RadioButton5Click() { chooseOutputFormat(2); }
void TSMForm2::RadioButton6Click() { chooseOutputFormat(3); }

void TSMForm2::chooseOutputFormat(int formatIndex) {
    state_.settings.outputFormat = QLatin1String(kOutputFormats[formatIndex].name);
    showFormatLabels(state_.settings.outputFormat);
}

void TSMForm2::showFormatLabels(const QString& outputFormat) {
    const bool azEl = IsAzElFormat(outputFormat);
    const QString first = azEl ? QStringLiteral("Azm:") : QStringLiteral("LHA:");
    const QString second = azEl ? QStringLiteral("Elev:") : QStringLiteral("Dec:");
    Label3->setText(first);
    Label4->setText(second);
    Label11->setText(first);
    Label12->setText(second);
    // The hour-angle formats take no feed offset.
    for (QGroupBox* group : feedGroups_) group->setVisible(azEl);
}

void TSMForm2::Edit10KeyUp(int key) {
    nudgeStaticOffset(state_.settings.offsetAz[kStaticOffset], Edit10, key, Qt::Key_Right, Qt::Key_Left);
}

void TSMForm2::Edit11KeyUp(int key) {
    nudgeStaticOffset(state_.settings.offsetEl[kStaticOffset], Edit11, key, Qt::Key_Up, Qt::Key_Down);
}

void TSMForm2::nudgeStaticOffset(double& offset, QLineEdit* box, int key, int upKey, int downKey) {
    // A step of 0.1 from the value in effect, not from the box's text.
    if (key == upKey) offset += 0.1;
    else if (key == downKey) offset -= 0.1;
    else return;
    box->setText(FixedText(offset, 3, 1));
}

void TSMForm2::GroupBox5MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton) renameFeedCaption(0);
}

void TSMForm2::GroupBox6MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton) renameFeedCaption(1);
}

void TSMForm2::GroupBox7MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton) renameFeedCaption(2);
}

void TSMForm2::renameFeedCaption(int feedIndex) {
    bool accepted = false;
    const QString caption = QInputDialog::getText(this, QStringLiteral("Dish Offset Caption"),
                                                  QStringLiteral("Enter caption for dish offset box."),
                                                  QLineEdit::Normal, feedGroups_[feedIndex]->title(), &accepted);
    if (!accepted) return;
    feedGroups_[feedIndex]->setTitle(caption);
    SaveFeedCaption(store(), state_.settings, feedIndex, caption);
}

bool TSMForm2::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool numberBox = std::find(numberBoxes_.begin(), numberBoxes_.end(), watched) != numberBoxes_.end();
            if (numberBox && IsEditingShortcut(*key)) {
                // The box's own shortcuts stay; only a paste is narrowed to the characters it accepts.
                if (key->matches(QKeySequence::Paste)) {
                    PasteNumberCharacters(*static_cast<QLineEdit*>(watched));
                    return true;
                }
                break;
            }
            if (numberBox && TypesCharacter(*key)) {
                const QString text = key->text();
                if (!std::all_of(text.begin(), text.end(), IsNumberBoxCharacter)) return true;
            }
            break;
        }
        case QEvent::KeyRelease: {
            // Holding a key down repeats presses; only letting it go counts as a step.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            if (watched == Edit10) Edit10KeyUp(key->key());
            else if (watched == Edit11) Edit11KeyUp(key->key());
            break;
        }
        case QEvent::MouseButtonPress: {
            // Only a press on the box itself (frame, caption, empty area) counts, not one on a control in it.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            auto* group = qobject_cast<QGroupBox*>(watched);
            if (!group || group->childAt(mouse->position().toPoint())) break;
            if (group == GroupBox5) GroupBox5MouseDown(mouse->button());
            else if (group == GroupBox6) GroupBox6MouseDown(mouse->button());
            else if (group == GroupBox7) GroupBox7MouseDown(mouse->button());
            else break;
            return true;
        }
        default: break;
    }
    return SecondaryWindow::eventFilter(watched, event);
}

}  // namespace skyrel
