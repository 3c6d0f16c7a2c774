#pragma once
// The exercise generator: draws the numbers of each exercise by mode, writes
// the lettered question lines and the matching answer key.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Random.h"

namespace velnorka {

inline constexpr std::array<const char*, 4> standardWholeLabels = {
    "na desítky", "na stovky", "na tisíce", "na desetitisíce"};
inline constexpr std::array<const char*, 3> standardDecimalLabels = {
    "na jednotky", "na desetiny", "na setiny"};

inline constexpr const char* answerBlank = " ____________________";  // a blank and 20 underscores
inline constexpr int maxCount = 200;

// The form-level values the generator reads and writes. The label tables are
// 0-based here: wholeLabels[place - 1].
struct WorksheetState {
    std::int16_t mode = 0;  // 1 whole numbers, 2 decimal numbers, 3 mix
    std::array<std::string, 4> wholeLabels;
    std::array<std::string, 3> decimalLabels;
    std::string newline;
    std::string answers;  // the answer key of the last run
    // The exercise being written (afterwards: the last one written).
    std::int16_t place = 0;
    std::int32_t whole = 0;
    double decimal = 0.0;
    double tensNumber = 0.0;

    // Fills the label tables with the standard labels and sets the line
    // break, as the form does when it loads. Everything else stays as it is.
    void start();
};

// Writes `count` exercises for state.mode (none when count < 1), appending
// the answer lines to state.answers and returning the question lines. After
// every `groupSize` exercises both texts get an empty line. Decimal exercise
// numbers use decimalSeparator; everything else is written by mez1.
std::string writeExercises(WorksheetState& state, std::int16_t count, std::int16_t groupSize,
                           RandomSource& random, std::string_view decimalSeparator);


}  // namespace velnorka
