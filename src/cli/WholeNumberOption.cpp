#include "WholeNumberOption.h"

#include <string>

#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"

namespace travik::cli {

const CLI::Validator& PlainWholeNumber() {
    static const CLI::Validator kPlainWholeNumber(
        [](std::string& text) {
            if (!TryParsePlainWholeNumber(text, 2'147'483'647ULL)) {
                return "'" + ShownTextCut(text) +
                       "' is not a whole number written in plain decimal digits";
            }
            return std::string();
        },
        "DIGITS");
    return kPlainWholeNumber;
}

}  // namespace travik::cli
