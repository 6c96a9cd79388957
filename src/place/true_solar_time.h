// True solar time: the clock time of a birth (China Standard Time, the mean
// time of 120° east) moved to the sun's real time at the birthplace, by the
// longitude correction of the place and the equation of time of the day.
#pragma once

#include "calendar/types.h"

namespace tl {

// The equation of time (apparent minus mean solar time) of a day of the year
// in minutes, to 0.01, as a single-precision number. 29 February has its own
// value; the six dates no month has (30 and 31 February, 31 April, June,
// September, November) and any month outside 1..12 or day outside 1..31 give
// 0.
float EquationOfTime(int month, int day);

// 4 × (east longitude − 120) minutes, to 0.01, of place `placeIndex`
// (1-based) of province `provinceIndex` of the birthplace lists: local mean
// time minus China Standard Time. Province 0 ("不考虑"), any province outside
// 1..34, a place outside 1..173 or a list entry that is not a place (四川 in
// the 陕西 list) give 0.
float PlaceCorrection(int provinceIndex, int placeIndex);

struct SolarTimeResult {
    // The birth date the corrected time falls on: the date as given, or the
    // day after (corrected time past 24:00) or before (corrected time before
    // 00:00), brought inside its month.
    Date date;
    TimeOfDay time;    // the true solar time, with seconds
    int dayShift = 0;  // +1, 0 or −1: how the date moved
};

// The true solar time of a birth entered as clock time `entered` (its hour and
// minute) on `birth` at the given place. Single-precision arithmetic as the
// program has always done it: the minute plus the equation of time plus the
// place correction, each sum rounded to single precision; the fraction of a
// minute turned into seconds rounded half to even; minutes truncated toward
// zero; whole hours carried into the hour. The equation of time counts even
// for "不考虑". A date past the end of its month (30 February) is looked up as
// the day it stands for (2 March).
SolarTimeResult TrueSolarTime(const Date& birth, TimeOfDay entered, int provinceIndex, int placeIndex);

}  // namespace tl
