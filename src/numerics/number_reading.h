#pragma once
// One locale-independent conversion for every numeric edit field of every window.
//
// Accepted form: optional blanks, optional sign, digits with an optional "." and
// fraction (at least one digit in all), optional exponent "E"/"e" with optional sign
// and digits, optional trailing blanks. "." is the only decimal point.
// An empty (or all-blank) text reads as 0. A text that does not have this form as a
// whole, or whose value is not finite in Extended, also reads as 0: conversion errors
// are never reported, and the input checks of each command judge the 0.
#include <cstdint>
#include <string_view>

#include "numerics/extended.h"

Extended ReadNumber(std::string_view text);
// Whole numbers for counts (segments per turn, ...): the same form without fraction
// or exponent; anything else, or a value outside 32 bits, reads as 0.
std::int32_t ReadInteger(std::string_view text);
