#include "windows/cost/cost_meter.h"

#include <array>
#include <string>

#include "core/money/tariff.h"
#include "platform/clock/clock_model.h"
#include "platform/forms/controls.h"
#include "platform/runtime/runtime.h"
#include "windows/cost/options_window.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The minor-unit label's accessible name follows its caption.
void setMinorUnit(OptionsWindow& options, std::string_view unit) {
  options.Label4->setCaption(fromView(unit));
  options.Label4->setAccessibleName(fromView(unit));
}

// Copies the currency list's text into the hidden box and writes it to
// last3.cst; a failed write is reported by saveBox.
void rememberCurrency(Runtime& runtime, OptionsWindow& options) {
  options.lastcurrency->setText(options.Combo2->text());
  saveBox(runtime, Place::Data, files::kLastCurrency, *options.lastcurrency, kOptionsArialBoxFont);
}

}  // namespace

void selectRate(Runtime& runtime, OptionsWindow& options) {
  // The file tests run at every tick, so a save or a reset by anyone counts.
  const RichTextBox* fixedBoxes[] = {options.RichTextBox1, options.RichTextBox2,
                                     options.RichTextBox3};
  std::array<std::string, 5> texts;
  for (std::size_t i = 0; i < kFixedTariffs.size(); ++i) {
    const bool saved = fileInPlace(runtime, Place::Data, kFixedTariffs[i].file);
    const std::string box = fixedBoxes[i]->text().toStdString();
    texts[i] = std::string(fixedRate(kFixedTariffs[i], saved, box));
  }
  texts[3] = options.ccost1->text().toStdString();
  texts[4] = options.ccost2->text().toStdString();
  const std::string custom1 = options.custom1->text().toStdString();
  const std::string custom2 = options.custom2->text().toStdString();
  const std::array<TariffRow, 5> rows{{{kFixedTariffs[0].name, texts[0]},
                                       {kFixedTariffs[1].name, texts[1]},
                                       {kFixedTariffs[2].name, texts[2]},
                                       {custom1, texts[3]},
                                       {custom2, texts[4]}}};
  const std::string name = options.Combo1->text().toStdString();
  auto rate = rateForTariff(name, rows);
  if (!rate) return;
  const QString rateText = fromView(*rate);
  // Only a change is written, so the box does not flicker ten times a second.
  if (options.combo1ass->text() != rateText) options.combo1ass->setText(rateText);
}

void applyCurrencyFromList(Runtime& runtime) {
  auto& options = runtime.form<OptionsWindow>();
  if (auto currency = currencyOfListText(options.Combo2->text().toStdString())) {
    const CurrencyLabels labels = chosenLabels(*currency);
    options.clock().setCurrency(fromView(labels.symbol), fromView(labels.panel));
    setMinorUnit(options, labels.minorUnit);
  }
  rememberCurrency(runtime, options);
}

void applyCurrencyFromMenu(Runtime& runtime, Currency currency) {
  auto& options = runtime.form<OptionsWindow>();
  const CurrencyLabels labels = chosenLabels(currency);
  options.clock().setCurrency(fromView(labels.symbol), fromView(labels.panel));
  options.Combo2->setText(fromView(listText(currency)));
  setMinorUnit(options, labels.minorUnit);
  rememberCurrency(runtime, options);
}

void applyCurrencyAtStartUp(Runtime& runtime) {
  auto& options = runtime.form<OptionsWindow>();
  auto currency = currencyOfListText(options.Combo2->text().toStdString());
  if (!currency) return;
  const CurrencyLabels labels = startUpLabels(*currency);
  options.clock().setCurrency(fromView(labels.symbol), fromView(labels.panel));
  setMinorUnit(options, labels.minorUnit);
}

}  // namespace tempodial
