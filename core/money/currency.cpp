#include "core/money/currency.h"

namespace tempodial {
namespace {

std::size_t position(Currency currency) { return static_cast<std::size_t>(currency); }

}  // namespace

std::optional<Currency> currencyOfListText(std::string_view text) {
  for (Currency currency : {Currency::Pound, Currency::Dollar, Currency::Frank}) {
    if (text == listText(currency)) return currency;
  }
  return std::nullopt;
}

std::string_view listText(Currency currency) { return kCurrencyEntries[position(currency)]; }

CurrencyLabels chosenLabels(Currency currency) {
  switch (currency) {
    case Currency::Pound:
      return {"£", "£: Pounds", "Pence"};
    case Currency::Dollar:
      return {"$", "$: Dollars", "Cent(s)"};
    case Currency::Frank:
      return {"Fr", "Fr: Frank", "C"};
  }
  return {};
}

CurrencyLabels startUpLabels(Currency currency) {
  switch (currency) {
    case Currency::Pound:
      return {"£", "£: Pounds", "Pence"};
    case Currency::Dollar:
      return {"$", "$: Dollars", "Cents"};
    case Currency::Frank:
      return {"F", "Fr: Frank", "C"};
  }
  return {};
}

}  // namespace tempodial
