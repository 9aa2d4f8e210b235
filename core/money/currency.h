// The currencies: the entries of the currency list and the texts of the three
// labels (symbol, currency name, minor unit) each way of choosing one sets. No
// amount is ever converted: a currency choice changes labels only.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tempodial {

enum class Currency { Pound, Dollar, Frank };

// The currency list's entries, in this order.
inline constexpr std::array<std::string_view, 3> kCurrencyEntries{"£", "$", "Frank"};

struct CurrencyLabels {
  std::string_view symbol;     // beside the cost box
  std::string_view panel;      // the currency name panel
  std::string_view minorUnit;  // beside the rate in use
};

// The currency whose list entry is exactly `listText`; nothing for any other
// text (a typed currency changes no label).
std::optional<Currency> currencyOfListText(std::string_view listText);

// The list entry of the currency.
std::string_view listText(Currency currency);

// The labels a choice during the run sets, from the list or from the menu:
// "Fr" and "Cent(s)".
CurrencyLabels chosenLabels(Currency currency);

// The labels the start-up sets from the remembered choice: "F" and "Cents",
// which differ from those a choice during the run sets.
CurrencyLabels startUpLabels(Currency currency);

}  // namespace tempodial
