#!/usr/bin/env python3
"""Checks a worksheet text line by line: structure, letters, grouping, the
number ranges of the mode, and that every answer is the question's number
rounded half up and written the Czech way.

usage: check_sheet.py --mode 1|2|3 --count N --group N [--decimal-separator SEP] [--lf] FILE
Exits 0 when the sheet is right, 1 with the first fault otherwise."""
import argparse
import re
import sys
from decimal import Decimal, ROUND_HALF_UP

NBSP = "\u00a0"
WHOLE = {"na desítky": -1, "na stovky": -2, "na tisíce": -3, "na desetitisíce": -4}
DECIMAL = {"na jednotky": 0, "na desetiny": 1, "na setiny": 2}
BLANK = " " + "_" * 20


def czech(value: Decimal) -> str:
    """The key's number form: groups of three with U+00A0, a decimal comma."""
    text = format(value.normalize(), "f")
    whole, _, fraction = text.partition(".")
    groups = []
    while len(whole) > 3:
        groups.insert(0, whole[-3:])
        whole = whole[:-3]
    groups.insert(0, whole)
    result = NBSP.join(groups)
    if fraction:
        result += "," + NBSP.join(fraction[i:i + 3] for i in range(0, len(fraction), 3))
    return result


def parse_grouped(text: str) -> Decimal:
    if not re.fullmatch(r"\d{1,3}(\u00a0\d{3})*(,\d{1,3}(\u00a0\d{1,3})*)?", text):
        raise ValueError(f"not a grouped number: {text!r}")
    return Decimal(text.replace(NBSP, "").replace(",", "."))


def parse_default(text: str, separator: str) -> Decimal:
    if not re.fullmatch(r"\d+(" + re.escape(separator) + r"\d+)?", text):
        raise ValueError(f"not a number in the default form: {text!r}")
    return Decimal(text.replace(separator, "."))


def decimals(value: Decimal) -> int:
    return max(0, -value.normalize().as_tuple().exponent)


def check_range(mode: int, label: str, value: Decimal) -> None:
    def need(condition: bool) -> None:
        if not condition:
            raise ValueError(f"{value} out of range for mode {mode} {label}")

    if mode == 1:
        need(label in WHOLE and value == value.to_integral() and 1000 <= value <= 249999)
    elif mode == 2:
        need(label in DECIMAL and Decimal("0.001") <= value <= Decimal("98.999") and decimals(value) <= 3)
    elif label == "na desítky":
        need((value == value.to_integral() and 1000 <= value <= 9999)
             or (100 <= value <= Decimal("999.9") and decimals(value) <= 1))
    elif label == "na stovky":
        need(value == value.to_integral() and 1000 <= value <= 9999)
    elif label in WHOLE:
        need(value == value.to_integral() and 10000 <= value <= 99999)
    elif label == "na setiny":  # three fraction digits: 0,001 is the smallest
        need(Decimal("0.001") <= value <= Decimal("98.999") and decimals(value) <= 3)
    else:  # two fraction digits
        need(Decimal("0.01") <= value <= Decimal("98.99") and decimals(value) <= 2)


def expected_shape(count: int, group: int) -> list:
    """None for an exercise line, "" for an empty line."""
    half = []
    for n in range(1, count + 1):
        half.append(None)
        if group >= 1 and n % group == 0:
            half.append("")
    return half


def check(text: str, mode: int, count: int, group: int, separator: str, lf: bool) -> None:
    newline = "\n" if lf else "\r\n"
    if not lf and re.search(r"(?<!\r)\n|\r(?!\n)", text):
        raise ValueError("a line break that is not CRLF")
    if not text.endswith(newline):
        raise ValueError("the text does not end with a line break")
    lines = text[: -len(newline)].split(newline)
    shape = expected_shape(count, group)
    if count < 1:
        expected_lines = 1
    else:
        expected_lines = 2 * len(shape) + 1
    if len(lines) != expected_lines:
        raise ValueError(f"{len(lines)} lines, expected {expected_lines}")
    if count < 1:
        if lines != [""]:
            raise ValueError("expected a single line break")
        return
    questions, separator_line, answers = lines[: len(shape)], lines[len(shape)], lines[len(shape) + 1:]
    if separator_line != "":
        raise ValueError("no empty line between the questions and the answers")
    pattern = re.compile(r"([a-z])\) ([^ ]+) (na [^ ]+)(.*)")
    exercise = 0
    for kind, question, answer in zip(shape, questions, answers):
        if kind == "":
            if question or answer:
                raise ValueError(f"expected an empty line, got {question!r} / {answer!r}")
            continue
        letter = chr(97 + exercise % 26)
        exercise += 1
        q = pattern.fullmatch(question)
        a = pattern.fullmatch(answer)
        if not q or not a:
            raise ValueError(f"malformed line: {question!r} / {answer!r}")
        if q.group(1) != letter or a.group(1) != letter:
            raise ValueError(f"letter {q.group(1)}/{a.group(1)}, expected {letter}")
        if q.group(2, 3) != a.group(2, 3):
            raise ValueError(f"answer does not repeat the question: {question!r} / {answer!r}")
        if q.group(4) != BLANK:
            raise ValueError(f"question does not end with a blank and 20 underscores: {question!r}")
        label = q.group(3)
        if label in WHOLE:
            value = parse_grouped(q.group(2))
            places = WHOLE[label]
        elif label in DECIMAL:
            value = parse_default(q.group(2), separator)
            places = DECIMAL[label]
        else:
            raise ValueError(f"unknown place {label!r}")
        check_range(mode, label, value)
        rounded = value.quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_UP) if places >= 0 else \
            (value.scaleb(places).quantize(Decimal(1), rounding=ROUND_HALF_UP)).scaleb(-places)
        expected = "  " + czech(rounded)
        if a.group(4) != expected:
            raise ValueError(f"{answer!r}: expected the result {expected.strip()!r}")


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", type=int, required=True)
    parser.add_argument("--count", type=int, required=True)
    parser.add_argument("--group", type=int, required=True)
    parser.add_argument("--decimal-separator", "--decimal", default=",")
    parser.add_argument("--lf", action="store_true", help="line breaks are LF (as some clipboards give them)")
    parser.add_argument("file")
    args = parser.parse_args()
    with open(args.file, encoding="utf-8", newline="") as handle:
        text = handle.read()
    try:
        check(text, args.mode, args.count, args.group, args.decimal_separator, args.lf)
    except ValueError as fault:
        print(f"check_sheet: {fault}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
