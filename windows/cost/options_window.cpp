#include "windows/cost/options_window.h"

#include <QAction>
#include <QTabWidget>

#include "core/money/tariff.h"
#include "platform/clock/clock_model.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/cost/cost_meter.h"
#include "windows/cost/rate_events.h"
#include "windows/programs/button_bar.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

// The designed outer size; the client area is what the frame leaves.
constexpr int kWidthTwips = 7755;
constexpr int kHeightTwips = 2985;
constexpr int kClientWidthTwips = kWidthTwips - Form::kFrameWidthTwips;
constexpr int kClientHeightTwips = kHeightTwips - Form::kFrameHeightTwips;

constexpr auto kTariffAfterCustomSave = "Weekday 1.4p a minute";
constexpr auto kRateAfterCustomSave = "1.4";

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Label* label(QWidget* parent, const char* name, const QString& caption) {
  auto* made = new Label(parent, QString::fromLatin1(name), caption);
  made->setAccessibleName(withoutAccessKeys(caption));
  return made;
}

RichTextBox* box(QWidget* parent, const char* name, const QString& accessibleName) {
  return new RichTextBox(parent, QString::fromLatin1(name), accessibleName);
}

}  // namespace

OptionsWindow::OptionsWindow(Runtime& runtime, ClockModel& clock)
    : Form(runtime, QString::fromLatin1(kName), kIndex), clock_(clock) {
  setWindowTitle(QStringLiteral("Options"));
  // Fixed single border, title only: no minimise, maximise or close control.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  // A window the user works in, not a question.
  setAccessibleRole(Role::Frame);
  setFont(arialFont(8.25));

  SSTab1 = new QTabWidget(client());
  SSTab1->setObjectName(QStringLiteral("SSTab1"));
  SSTab1->setAccessibleName(QStringLiteral("Options"));
  placeTwips(SSTab1, 0, 0, kClientWidthTwips, kClientHeightTwips);
  const QString captions[] = {QStringLiteral("Window Options"), QStringLiteral("Customising Cost"),
                              QStringLiteral("Specifying Specific Costs")};
  QWidget* pages[3];
  for (int i = 0; i < 3; ++i) {
    pages[i] = new QWidget();
    pages[i]->setObjectName(QStringLiteral("SSTab1Page%1").arg(i));
    pages[i]->setAccessibleName(captions[i]);
    SSTab1->addTab(pages[i], captions[i]);
  }
  buildWindowOptions(pages[0]);
  buildCustomisingCost(pages[1]);
  buildSpecificCosts(pages[2]);
  SSTab1->setCurrentIndex(0);

  // Lies over the lower left corner of the tab control, which every page
  // keeps free, so it shows whichever page is chosen.
  Command5 = new Button(client(), QStringLiteral("Command5"), QStringLiteral("Hide Options"));
  placeTwips(Command5, 120, kClientHeightTwips - 435, 1335, 375);
  Command5->raise();

  Timer1 = new FormTimer(this, QStringLiteral("Timer1"), 100, true);
  connectHandlers();
  followRateEvents(*this);
  setSizeTwips(kWidthTwips, kHeightTwips);
}

void OptionsWindow::buildWindowOptions(QWidget* page) {
  Frame3 = new Frame(page, QStringLiteral("Frame3"), QStringLiteral("Startup Options"));
  placeTwips(Frame3, 120, 120, 4095, 1095);
  Check1 = new CheckBox(Frame3, QStringLiteral("Check1"),
                        QStringLiteral("Start with button bar showing"));
  Check1->setFont(arialFont(9));
  placeTwips(Check1, 180, 300, 3735, 315);
  Check2 =
      new CheckBox(Frame3, QStringLiteral("Check2"), QStringLiteral("Start with cost showing"));
  Check2->setFont(arialFont(9));
  placeTwips(Check2, 180, 660, 3735, 315);
}

void OptionsWindow::buildCustomisingCost(QWidget* page) {
  Combo1 = new ComboBox(page, QStringLiteral("Combo1"), QStringLiteral("Tariff"));
  Combo1->setFont(arialFont(9.75));
  placeTwips(Combo1, 120, 120, 3015, 360);
  combo1ass = box(page, "combo1ass", QStringLiteral("Rate in use"));
  combo1ass->setLocked(true);
  placeTwips(combo1ass, 3255, 120, 1095, 360);
  Label4 = label(page, "Label4", QStringLiteral("Pence"));
  Label4->setFont(arialFont(14.25, true));
  placeTwips(Label4, 4470, 75, 1455, 435);

  Frame4 = new Frame(page, QStringLiteral("Frame4"), QStringLiteral("Your (Custom) Entries"));
  placeTwips(Frame4, 120, 570, 7350, 1095);
  Label2 = label(Frame4, "Label2", QStringLiteral("Description for 1"));
  custom1 = box(Frame4, "custom1", QStringLiteral("Description for 1"));
  Label1_0 = label(Frame4, "Label1_0", QStringLiteral("Cost Intended in Pence"));
  ccost1 = box(Frame4, "ccost1", QStringLiteral("Cost Intended in Pence 1"));
  Label3 = label(Frame4, "Label3", QStringLiteral("Description for 2"));
  custom2 = box(Frame4, "custom2", QStringLiteral("Description for 2"));
  Label1_1 = label(Frame4, "Label1_1", QStringLiteral("Cost Intended in Pence"));
  ccost2 = box(Frame4, "ccost2", QStringLiteral("Cost Intended in Pence 2"));
  const int rowTops[] = {270, 660};
  Label* descriptions[] = {Label2, Label3};
  RichTextBox* names[] = {custom1, custom2};
  Label* costLabels[] = {Label1_0, Label1_1};
  RichTextBox* costs[] = {ccost1, ccost2};
  for (int row = 0; row < 2; ++row) {
    placeTwips(descriptions[row], 120, rowTops[row] + 30, 1335, 255);
    placeTwips(names[row], 1500, rowTops[row], 2415, 315);
    placeTwips(costLabels[row], 4035, rowTops[row] + 30, 1755, 255);
    placeTwips(costs[row], 5835, rowTops[row], 1335, 315);
  }
  custom1->setText(QStringLiteral("User set 1, to be defined"));
  custom2->setText(QStringLiteral("User set 2, to be defined"));

  Command2 = new Button(page, QStringLiteral("Command2"), QStringLiteral("Save custom entries"));
  placeTwips(Command2, 5775, 1740, 1695, 375);

  loadbox1 = box(hiddenControls(), "loadbox1", QStringLiteral("Last tariff"));
  loadbox2 = box(hiddenControls(), "loadbox2", QStringLiteral("Last rate"));
}

void OptionsWindow::buildSpecificCosts(QWidget* page) {
  Frame1 = new Frame(page, QStringLiteral("Frame1"), QStringLiteral("Currency to be used"));
  placeTwips(Frame1, 120, 120, 1815, 855);
  Combo2 = new ComboBox(Frame1, QStringLiteral("Combo2"), QStringLiteral("Currency to be used"));
  Combo2->setFont(arialFont(9.75, true));
  placeTwips(Combo2, 120, 330, 1575, 390);
  lastcurrency = box(hiddenControls(), "lastcurrency", QStringLiteral("Last currency"));

  Frame2 = new Frame(page, QStringLiteral("Frame2"), QStringLiteral("Frame2"));
  placeTwips(Frame2, 2055, 120, 5415, 1575);
  Label5 = label(Frame2, "Label5", QStringLiteral("Weekday"));
  RichTextBox1 = box(Frame2, "RichTextBox1", QStringLiteral("Weekday"));
  Label6 = label(Frame2, "Label6", QStringLiteral("Weekend"));
  RichTextBox2 = box(Frame2, "RichTextBox2", QStringLiteral("Weekend"));
  Label7 = label(Frame2, "Label7", QStringLiteral("BT: Friends and Family"));
  RichTextBox3 = box(Frame2, "RichTextBox3", QStringLiteral("BT: Friends and Family"));
  Label* rateLabels[] = {Label5, Label6, Label7};
  RichTextBox* rates[] = {RichTextBox1, RichTextBox2, RichTextBox3};
  for (int row = 0; row < 3; ++row) {
    placeTwips(rateLabels[row], 120, 330 + 390 * row, 1815, 255);
    placeTwips(rates[row], 1980, 300 + 390 * row, 1095, 315);
  }
  Command4 = new Button(Frame2, QStringLiteral("Command4"), QStringLiteral("Save these values"));
  placeTwips(Command4, 3240, 300, 2055, 495);
  Command1 = new Button(Frame2, QStringLiteral("Command1"), QStringLiteral("Reset Default Values"));
  placeTwips(Command1, 3240, 900, 2055, 495);
}

void OptionsWindow::connectHandlers() {
  Command5->onClick = [this] { hide(); };
  Command4->onClick = [this] { saveFixedRates(); };
  Command1->onClick = [this] { resetFixedRates(); };
  Command2->onClick = [this] { saveCustomEntries(); };
  Check1->onClick = [this] { buttonBarOptionClicked(); };
  Check2->onClick = [this] { costOptionClicked(); };
  Combo1->onClick = [this] { tariffChosen(); };
  Combo2->onClick = [this] { applyCurrencyFromList(runtime()); };
  Timer1->onTick = [this] { selectRate(runtime(), *this); };
  // The clock model keeps the tariff and the rate in use for the journal.
  clock_.setTariff(Combo1->text());
  clock_.setRate(combo1ass->text());
  connect(Combo1, &QComboBox::editTextChanged, &clock_, &ClockModel::setTariff);
  connect(combo1ass, &QPlainTextEdit::textChanged, &clock_,
          [this] { clock_.setRate(combo1ass->text()); });
}

void OptionsWindow::onLoad() {
  // The start-up options found in the Windows directory are carried over into
  // the data directory by the check boxes' own click steps.
  if (fileInPlace(runtime(), Place::Windows, files::kShowCost)) {
    clock_.setCostShown(true);
    Check2->setValue(1);
  } else {
    Check2->setValue(0);
    clock_.setCostShown(false);
  }
  Check1->setValue(fileInPlace(runtime(), Place::Windows, files::kButtShow) ? 1 : 0);
  RichTextBox* rates[] = {RichTextBox1, RichTextBox2, RichTextBox3};
  for (std::size_t i = 0; i < kFixedTariffs.size(); ++i) {
    if (rates[i]->text().isEmpty()) rates[i]->setText(fromView(kFixedTariffs[i].defaultRate));
  }
}

void OptionsWindow::restoreTariffsAndCurrency() {
  Runtime& rt = runtime();
  for (const FixedTariff& tariff : kFixedTariffs) Combo1->addItem(fromView(tariff.name));
  // A file that cannot be read counts as missing: its box keeps the default.
  loadBoxQuietly(rt, Place::Data, files::kCustom1, *custom1);
  loadBoxQuietly(rt, Place::Data, files::kCustom2, *custom2);
  loadBoxQuietly(rt, Place::Data, files::kCustomCost1, *ccost1);
  loadBoxQuietly(rt, Place::Data, files::kCustomCost2, *ccost2);
  loadBoxQuietly(rt, Place::Data, files::kWeekday, *RichTextBox1);
  loadBoxQuietly(rt, Place::Data, files::kWeekend, *RichTextBox2);
  loadBoxQuietly(rt, Place::Data, files::kFriendsFamily, *RichTextBox3);
  Combo1->addItem(custom1->text());
  Combo1->addItem(custom2->text());

  const bool rateRead = loadBoxQuietly(rt, Place::Data, files::kLastRate, *loadbox2);
  if (loadBoxQuietly(rt, Place::Data, files::kLastTariff, *loadbox1)) {
    Combo1->setText(loadbox1->text());
    // Without a readable rate the Weekday rate stands in until the rate
    // selection finds the tariff (a name that matches none keeps it).
    combo1ass->setText(rateRead ? loadbox2->text() : fromView(kFixedTariffs[0].defaultRate));
  } else {
    Combo1->setText(fromView(kFixedTariffs[0].name));
    combo1ass->setText(fromView(kFixedTariffs[0].defaultRate));
  }

  for (std::string_view entry : kCurrencyEntries) Combo2->addItem(fromView(entry));
  if (loadBoxQuietly(rt, Place::Data, files::kLastCurrency, *lastcurrency)) {
    Combo2->setText(lastcurrency->text());
  } else {
    Combo2->setText(fromView(kCurrencyEntries[0]));
  }
  applyCurrencyAtStartUp(rt);
}

void OptionsWindow::saveFixedRates() {
  Runtime& rt = runtime();
  const BoxFont font = kOptionsArialBoxFont;
  // One report is enough: the next files would fail the same way.
  if (!saveBox(rt, Place::Data, files::kWeekday, *RichTextBox1, font)) return;
  if (!saveBox(rt, Place::Data, files::kWeekend, *RichTextBox2, font)) return;
  saveBox(rt, Place::Data, files::kFriendsFamily, *RichTextBox3, font);
}

void OptionsWindow::resetFixedRates() {
  RichTextBox* rates[] = {RichTextBox1, RichTextBox2, RichTextBox3};
  for (std::size_t i = 0; i < kFixedTariffs.size(); ++i) {
    rates[i]->setText(fromView(kFixedTariffs[i].defaultRate));
  }
  for (const FixedTariff& tariff : kFixedTariffs) {
    deleteInPlace(runtime(), Place::Data, tariff.file);
  }
}

void OptionsWindow::saveCustomEntries() {
  Runtime& rt = runtime();
  // Taking entries out of the list may change its text; the tariff chosen
  // must not change behind the user's back.
  const QString tariff = Combo1->text();
  if (Combo1->count() > 4) Combo1->removeItem(4);
  if (Combo1->count() > 3) Combo1->removeItem(3);
  Combo1->setText(tariff);

  const BoxFont font = kSansSerifBoxFont;
  const bool saved = saveBox(rt, Place::Data, files::kCustom1, *custom1, font) &&
                     saveBox(rt, Place::Data, files::kCustom2, *custom2, font) &&
                     saveBox(rt, Place::Data, files::kCustomCost1, *ccost1, font) &&
                     saveBox(rt, Place::Data, files::kCustomCost2, *ccost2, font);
  if (saved) rt.message(QStringLiteral("OK Both were saved"));
  // The list keeps its two custom entries whatever became of the files.
  Combo1->addItem(custom1->text());
  Combo1->addItem(custom2->text());
  Combo1->setText(saved ? QString::fromLatin1(kTariffAfterCustomSave) : tariff);
  if (saved) combo1ass->setText(QString::fromLatin1(kRateAfterCustomSave));
}

void OptionsWindow::buttonBarOptionClicked() {
  Runtime& rt = runtime();
  const bool ticked = Check1->value() == 1;
  const bool done = ticked ? saveOptionFile(rt, Place::Data, files::kButtShow)
                           : deleteInPlace(rt, Place::Data, files::kButtShow);
  // After a failure (reported already) the file is as it was, and so is the
  // option: the box shows it again, and nothing is undone by its click steps.
  if (!done) showOptionOfFile(*Check1, files::kButtShow);
  if (ticked && Check1->value() == 1) rt.form<ButtonBar>().show();
}

void OptionsWindow::costOptionClicked() {
  Runtime& rt = runtime();
  const bool done = Check2->value() == 1 ? saveOptionFile(rt, Place::Data, files::kShowCost)
                                         : deleteInPlace(rt, Place::Data, files::kShowCost);
  if (!done) showOptionOfFile(*Check2, files::kShowCost);
  clock_.setCostShownAtStartUp(Check2->value() == 1);
}

void OptionsWindow::showOptionOfFile(CheckBox& box, std::string_view file) {
  box.restoreValue(fileInPlace(runtime(), Place::Data, file) ? 1 : 0);
}

void OptionsWindow::tariffChosen() {
  Runtime& rt = runtime();
  loadbox2->setText(combo1ass->text());
  loadbox1->setText(Combo1->text());
  // The rate goes first: a tariff remembered without its rate is restored
  // with a stand-in rate, but one report of a failure is enough.
  if (!saveBox(rt, Place::Data, files::kLastRate, *loadbox2, kSansSerifBoxFont)) return;
  saveBox(rt, Place::Data, files::kLastTariff, *loadbox1, kSansSerifBoxFont);
}

}  // namespace tempodial
