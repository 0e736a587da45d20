#!/usr/bin/env python3
"""Writes format_number_cases.txt: values written by number patterns, worked out with
Python's decimal module (independently of the program): the value's shortest round-trip
form (repr), rounded half away from zero to the pattern's last digit, then the pattern's
compulsory and optional digits.

  python3 generate_format_cases.py > format_number_cases.txt

Each line: the value as a hexadecimal float, the pattern, the text.
"""
import decimal
import math
import random

PATTERNS = ["0.###", "0.000000", "0.00000", "0.00000000", "0.#########", "0", "0.0000",
            "#.##", "00.0", "0.00"]


def written(x, pattern):
    if math.isnan(x):
        return "NAN"
    if math.isinf(x):
        return "INF" if x > 0 else "-INF"
    integer_pattern, _, fraction_pattern = pattern.partition(".")
    min_integer = integer_pattern.count("0")
    max_decimals = len(fraction_pattern)
    min_decimals = len(fraction_pattern) - len(fraction_pattern.lstrip("0"))
    context = decimal.Context(prec=1000, rounding=decimal.ROUND_HALF_UP)
    shortest = decimal.Decimal(repr(abs(x)))
    scaled = context.quantize(shortest.scaleb(max_decimals, context), decimal.Decimal(1))
    digits = str(int(scaled)).rjust(max_decimals + min_integer, "0")
    integer = digits[:len(digits) - max_decimals]
    fraction = digits[len(digits) - max_decimals:]
    keep = max(min_integer, 0)
    while len(integer) > keep and integer[0] == "0":
        integer = integer[1:]
    while len(fraction) > min_decimals and fraction.endswith("0"):
        fraction = fraction[:-1]
    text = ("-" if math.copysign(1, x) < 0 and int(scaled) != 0 else "") + integer
    if fraction:
        text += "." + fraction
    if not integer and not fraction:
        text += "0"
    return text


FIXED = [0.0, -0.0, 2.675, 1.005, 0.5, -0.5, 0.0000005, -0.0000005, 0.00000049,
         9.9999995, 99.9999995, 0.9999995, 1e-7, 5e-7, 4.9e-7, 123456.7890125,
         0.090000, 5e-324, 1e20, -1e20, 1.7976931348623157e308, 1e300, 12.5, 0.125,
         0.0625, 9.5, 0.95, 0.995, 999999.9999995, 0.0000009999995, 1e15 + 0.5,
         math.inf, -math.inf, math.nan]


def values():
    rng = random.Random(20261210)
    for _ in range(1500):
        x = rng.uniform(-1, 1) * 10 ** rng.uniform(-12, 12)
        yield x
    # Values on a rounding edge of six decimals, and their neighbours.
    for _ in range(300):
        edge = (rng.randrange(-10**9, 10**9) + 0.5) / 10**6
        yield edge
        yield math.nextafter(edge, math.inf)
        yield math.nextafter(edge, -math.inf)


def main():
    for x in FIXED:
        for pattern in PATTERNS:
            print(x.hex() if math.isfinite(x) else repr(x), pattern, written(x, pattern))
    rng = random.Random(7)
    for x in values():
        pattern = PATTERNS[rng.randrange(len(PATTERNS))]
        print(x.hex() if math.isfinite(x) else repr(x), pattern, written(x, pattern))


if __name__ == "__main__":
    main()
