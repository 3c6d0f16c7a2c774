#include "generator/Worksheet.h"

#include <cmath>

#include "generator/NumberText.h"
#include "generator/Rounding.h"
#include "platform/NumberFormat.h"

namespace velnorka {

namespace {

// One draw, widened: all arithmetic on r is done in double.
double draw(RandomSource& random) { return static_cast<double>(random.next()); }

std::int16_t drawIndex(RandomSource& random, int choices) {
    return static_cast<std::int16_t>(std::floor(draw(random) * choices + 1));
}

// integer part 0..98 + fraction with d digits, never zero.
double drawDecimal(RandomSource& random, int fractionDigits) {
    const auto integerPart = static_cast<float>(std::floor(draw(random) * 99));
    const double scale = fractionDigits == 3 ? 1000.0 : 100.0;
    const double fraction = std::floor(draw(random) * (scale - 1) + 1) / scale;
    return static_cast<double>(integerPart) + fraction;
}

// What one exercise shows: the number N, the place label P and the rounded
// result R.
struct ExerciseText {
    std::string number;
    std::string label;
    std::string result;
};

ExerciseText wholeExercise(WorksheetState& s, RandomSource& random) {
    s.place = drawIndex(random, 4);
    s.whole = doubleToInt32(draw(random) * 248999 + 1000);
    return {mez1(s.whole), s.wholeLabels[s.place - 1],
            mez1(zaon(s.whole, static_cast<std::int16_t>(-s.place)))};
}

// Mode 2 always draws three fraction digits; the mix only to hundredths.
ExerciseText decimalExercise(WorksheetState& s, RandomSource& random, bool mixed,
                             const NumberFormat& format) {
    s.place = drawIndex(random, 3);
    s.decimal = drawDecimal(random, !mixed || s.place == 3 ? 3 : 2);
    return {defaultText(s.decimal, format), s.decimalLabels[s.place - 1],
            mez1(zaon(s.decimal, static_cast<std::int16_t>(s.place - 1)))};
}

ExerciseText mixedExercise(WorksheetState& s, RandomSource& random, const NumberFormat& format) {
    const std::int16_t kind = drawIndex(random, 2);
    if (kind == 2) return decimalExercise(s, random, true, format);
    s.place = drawIndex(random, 4);
    const auto exponent = static_cast<std::int16_t>(-s.place);
    if (s.place == 1) {
        s.tensNumber = std::floor(draw(random) * 9000 + 1000);
        if (drawIndex(random, 2) != 1) s.tensNumber /= 10;
        return {mez1(s.tensNumber), s.wholeLabels[0], mez1(zaon(s.tensNumber, exponent))};
    }
    const double span = s.place == 2 ? 9000 : 90000;
    const double lowest = s.place == 2 ? 1000 : 10000;
    s.whole = static_cast<std::int32_t>(std::floor(draw(random) * span + lowest));
    return {mez1(s.whole), s.wholeLabels[s.place - 1], mez1(zaon(s.whole, exponent))};
}

ExerciseText drawExercise(WorksheetState& s, RandomSource& random, const NumberFormat& format) {
    switch (s.mode) {
        case 1:
            return wholeExercise(s, random);
        case 2:
            return decimalExercise(s, random, false, format);
        default:
            return mixedExercise(s, random, format);
    }
}

}  // namespace

void WorksheetState::start() {
    for (std::size_t i = 0; i < wholeLabels.size(); ++i) wholeLabels[i] = standardWholeLabels[i];
    for (std::size_t i = 0; i < decimalLabels.size(); ++i) decimalLabels[i] = standardDecimalLabels[i];
    newline = std::string(1, static_cast<char>(13)) + static_cast<char>(10);
}

std::string writeExercises(WorksheetState& state, std::int16_t count, std::int16_t groupSize,
                           RandomSource& random, std::string_view decimalSeparator) {
    std::string questions;
    if (count > 0) {  // room for the whole sheet up front: lines are about 60 bytes
        questions.reserve(static_cast<std::size_t>(count) * 64);
        state.answers.reserve(state.answers.size() + static_cast<std::size_t>(count) * 56);
    }
    const NumberFormat format{std::string(decimalSeparator), ""};
    int inGroup = 0;
    int letter = 1;
    std::string start;
    for (int exercise = 1; exercise <= count; ++exercise) {
        ++inGroup;
        const ExerciseText text = drawExercise(state, random, format);
        start.assign(1, static_cast<char>(96 + letter));
        start.append(") ").append(text.number).append(" ").append(text.label);
        questions.append(start).append(answerBlank).append(state.newline);
        state.answers.append(start).append("  ").append(text.result).append(state.newline);
        if (++letter > 26) letter = 1;
        if (inGroup == groupSize) {
            questions += state.newline;
            state.answers += state.newline;
            inGroup = 0;
        }
    }
    return questions;
}

}  // namespace velnorka
