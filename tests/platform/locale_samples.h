// Regional formats of real locales, as glibc's locale sources give them
// (d_fmt, t_fmt, am_pm), one for each shape the program's pictures take
// after conversion, plus shapes other systems write (designator first,
// a.m./p.m., the French hour marker). The locales need not be installed:
// FormatSettingsFromTimeInfo turns each into the settings it would give.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/locale_format.h"

namespace locale_samples {

// Settings from two pictures and the designators.
inline TFormatSettings Pictures(std::string date, std::string time, std::string am = "AM", std::string pm = "PM") {
    TFormatSettings s;
    s.ShortDateFormat = std::move(date);
    s.LongTimeFormat = std::move(time);
    s.TimeAMString = std::move(am);
    s.TimePMString = std::move(pm);
    return s;
}

// Readable form of a value, so that a mismatch shows which field is off.
inline std::string Stamp(TDateTime value) {
    TDateParts d;
    TTimeParts t;
    DecodeDateTime(value, d, t);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.Year, d.Month, d.Day, t.Hour,
                  t.Minute, t.Second, t.MSec);
    return buffer;
}

// What a refused read must leave in its output.
constexpr TDateTime Untouched = 12345.25;

struct TLocaleSample {
    const char* Name;
    const char* DateFormat;
    const char* TimeFormat;
    const char* AM;
    const char* PM;
};

inline const TLocaleSample Samples[] = {
    {"brx_IN", "%-m/%-d/%y", "%I:%M:%S %p %Z", "फुं.", "बेलासे."},
    {"C", "%m/%d/%y", "%H:%M:%S", "AM", "PM"},
    {"en_US", "%m/%d/%Y", "%r", "AM", "PM"},
    {"fil_PH", "%m/%d/%y", "%r", "N.U.", "N.H."},
    {"chr_US", "%m/%d/%Y", "%r", "ᏌᎾᎴ", "ᏒᎯᏱᎢᏗᏢ"},
    {"kok_IN", "%-d-%-m-%y", "%I:%M:%S %p %Z", "म.पू.", "म.नं."},
    {"sa_IN", "%-d-%m-%y", "%I:%M:%S %p %Z", "पूर्वाह्न", "अपराह्न"},
    {"as_IN", "%e-%m-%Y", "%I.%M.%S %p", "পূৰ্ব্বাহ্ন", "অপৰাহ্ন"},
    {"cs_CZ", "%-d.%-m.%Y", "%H:%M:%S", "", ""},
    {"bg_BG", "%e.%m.%Y", "%k:%M:%S", "", ""},
    {"anp_IN", "%-d/%-m/%y", "%I:%M:%S %p %Z", "पूर्वाह्न", "अपराह्न"},
    {"da_DK", "%d-%m-%Y", "%T", "", ""},
    {"fr_CH", "%d. %m. %y", "%T", "", ""},
    {"fi_FI", "%d.%m.%Y", "%H.%M.%S", "", ""},
    {"az_AZ", "%d.%m.%Y", "%T", "", ""},
    {"aa_DJ", "%d.%m.%Y", "%l:%M:%S %p", "saaku", "carra"},
    {"so_DJ", "%d.%m.%Y", "%l:%M:%S %p", "subaxnimo", "galabnimo"},
    {"sr_ME", "%d.%m.%Y.", "%T", "", ""},
    {"fo_FO", "%d/%m-%Y", "%T", "", ""},
    {"af_ZA", "%d/%m/%Y", "%T", "VM", "NM"},
    {"om_ET", "%d/%m/%Y", "%l:%M:%S %p", "WD", "WB"},
    {"aa_ER", "%d/%m/%Y", "%l:%M:%S %p", "saaku", "carra"},
    {"sid_ET", "%d/%m/%Y", "%l:%M:%S %p", "soodo", "hawwaro"},
    {"so_ET", "%d/%m/%Y", "%l:%M:%S %p", "subaxnimo", "galabnimo"},
    {"wal_ET", "%d/%m/%Y", "%l:%M:%S %p", "ማለዶ", "ቃማ"},
    {"tig_ER", "%d/%m/%Y", "%l:%M:%S %p", "ቀደም ሰር ምዕል", "ሓቆ ሰር ምዕል"},
    {"ti_ER", "%d/%m/%Y", "%l:%M:%S %p", "ንጉሆ ሰዓተ", "ድሕር ሰዓት"},
    {"am_ET", "%d/%m/%Y", "%l:%M:%S %p", "ጡዋት", "ከሰዓት"},
    {"byn_ER", "%d/%m/%Y", "%l:%M:%S %p", "ፋዱስ ጃብ", "ፋዱስ ደምቢ"},
    {"gez_ER", "%d/%m/%Y", "%l:%M:%S፡%p", "ጽባሕ", "ምሴት"},
    {"ha_NG", "%d/%m/%y", "%r", "AM", "PM"},
    {"sw_KE", "%d/%m/%Y", "%I:%M:%S %p", "asubuhi", "alasiri"},
    {"tpi_PG", "%d/%m/%Y", "%r", "biknait", "apinun"},
    {"gd_GB", "%d/%m/%y", "%r", "m", "f"},
    {"el_CY", "%d/%m/%Y", "%r", "πμ", "μμ"},
    {"ar_SA", "%A %e %B %Y", "%k:%M:%S", "", ""},
    {"ar_AE", "%d %b, %Y", "%Z %I:%M:%S %p", "ص", "م"},
    {"yue_HK", "%Y年%m月%d日 %A", "%H點%M分%S秒", "上午", "下午"},
    {"en_CA", "%Y-%m-%d", "%r", "AM", "PM"},
    {"nan_TW@latin", "%F", "%r", "téng-po͘", "ē-po͘"},
    {"mhr_RU", "%Y.%m.%d", "%T", "", ""},
    {"lv_LV", "%Y.%m.%d.", "%T", "", ""},
    {"ne_NP", "%y/%-m/%-d", "%H:%M:%S", "पूर्वाह्न", "अपराह्न"},
    {"ak_GH", "%Y/%m/%d", "%r", "AN", "EW"},
    {"zh_SG", "%Y年%m月%d日", "%H时%M分%S秒 %Z", "上午", "下午"},
    {"zh_CN", "%Y年%m月%d日", "%H时%M分%S秒", "上午", "下午"},
    {"ja_JP", "%Y年%m月%d日", "%H時%M分%S秒", "午前", "午後"},
    {"hak_TW", "%Y年%m月%d日", "%H點%M分%S秒", "上晝", "下晝"},
    {"cmn_TW", "%Y年%m月%d號", "%H點%M分%S秒", "上午", "下午"},
    {"ko_KR", "%Y년 %m월 %d일", "%H시 %M분 %S초", "오전", "오후"},
    {"bo_CN", "པསྱི་ལོ%yཟལ%mཚེས%d", "ཆུ་ཚོད%Hཀསར་མ%Mཀསར་ཆ%S", "ངས་ཆ", "ཕྱི་ཆ"},
    // Not from glibc's sources: 12-hour clocks with the designator first,
    // dotted designators, and the hour marker of French-speaking clocks.
    {"zh 12-hour", "%Y/%-m/%-d", "%p %-I:%M:%S", "上午", "下午"},
    {"ja 12-hour", "%Y年%m月%d日", "%p%I時%M分%S秒", "午前", "午後"},
    {"ko 12-hour", "%Y. %m. %d.", "%p %I시 %M분 %S초", "오전", "오후"},
    {"es 12-hour", "%d/%m/%Y", "%I:%M:%S %p", "a. m.", "p. m."},
    {"en dotted", "%d/%m/%Y", "%l:%M:%S %p", "a.m.", "p.m."},
    {"fr hour marker", "%Y-%m-%d", "%Hh%M", "", ""},
};

inline TFormatSettings SettingsOf(const TLocaleSample& sample) {
    TLocaleTimeInfo info;
    info.DateFormat = sample.DateFormat;
    info.TimeFormat = sample.TimeFormat;
    info.AMString = sample.AM;
    info.PMString = sample.PM;
    info.AbbreviatedDayNames = TFormatSettings{}.ShortDayNames;
    return FormatSettingsFromTimeInfo(info);
}

struct TNamedSettings {
    std::string Name;
    TFormatSettings Settings;
};

inline std::vector<TNamedSettings> SampleSettings() {
    std::vector<TNamedSettings> out;
    for (const TLocaleSample& sample : Samples) out.push_back({sample.Name, SettingsOf(sample)});
    return out;
}

}  // namespace locale_samples
