// The inputs of scripts' olvoctl-against-remind comparison
// (bench/cli_vs_remind.sh): a data file of reminders written through the
// store's own writer, and the same reminders as a remind script, one REM
// line each, so that both tools list the same next occurrences.
//   make_cli_bench_data DATAFILE REMFILE [COUNT]      (COUNT default 10000)
// Daily, weekly, monthly and yearly reminders take turns. Monthly days stay
// within 1..28 and yearly dates within the 28 days every month has, so every
// reminder has a next occurrence whatever the day of the run.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "bench_support.h"
#include "platform/datetime.h"
#include "store/rm_record.h"

namespace {

// Plain words only: remind reads '%' and '[' in a message as substitutions.
const char* const Descriptions[] = {
    "Pay rent",
    "Call mum",
    "Take the bins out",
    "Water the plants on the balcony",
    "Team stand-up meeting",
    "Dentist appointment at 10, bring the insurance card",
    "Renew the car insurance",
    "Back up the laptop to the external disk",
    "Pick up the kids from football practice",
    "Send the weekly status report to the project lead",
    "Gym: legs and core",
    "Pay the electricity bill",
    "Order printer toner for the office",
    "Book a table for Friday dinner",
    "Check the tyre pressure before the long drive",
    "Take vitamin D",
    "Return the library books",
    "Submit the expense claims for last month",
    "Buy a birthday present for Anna",
    "Clean the fridge and throw out old leftovers",
    "Piano lesson",
    "Call the plumber about the dripping tap in the bathroom",
    "Update the passwords of the shared accounts",
    "Feed the neighbour's cat",
    "Review pull requests",
    "Quarterly tax prepayment",
    "Change the water filter",
    "Wedding anniversary: flowers and a card",
    "Read a chapter of the book club novel",
    "Cancel the free trial before it renews",
};
const char* const WeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct TBenchReminder {
    TRmRecordStruct Record;
    std::string RemLine;
};

std::string TwoDigits(int v) { return std::string(1, char('0' + v / 10)) + char('0' + v % 10); }

TBenchReminder MakeBenchReminder(int i) {
    TBenchReminder out;
    TRmRecordStruct& r = out.Record;
    r.Description = Descriptions[i % 30];
    r.CreateDateTime = EncodeDateTime(2025, 1, 1, 0, 0, 0) + i * OneMinute;
    r.LastTime = r.CreateDateTime;
    const int hour = 6 + i % 16, minute = (i * 7) % 60;
    r.WakeTime = EncodeTime(hour, minute, 0);
    r.Voice = "default.mp3";
    std::string when;
    switch (i % 4) {
    case 0:
        r.Period = PeriodDaily;
        r.SetWakeDate(EncodeDate(2025, 1, 1));
        break;
    case 1: {
        r.Period = PeriodWeekly;
        const int days = 1 + (i * 37) % 127;  // a non-empty set of weekdays
        for (int d = 0; d < 7; ++d)
            if (days & (1 << d)) {
                r.RepeatData[size_t(d)] = 1;
                when += std::string(WeekdayNames[d]) + " ";
            }
        break;
    }
    case 2: {
        r.Period = PeriodMonthly;
        const int day = 1 + (i / 4) % 28;
        r.RepeatData[size_t(day - 1)] = 1;
        when = std::to_string(day) + " ";
        break;
    }
    default: {
        r.Period = PeriodYearly;
        const int month = 1 + (i / 4) % 12, day = 1 + (i / 48) % 28;
        r.SetWakeDate(EncodeDate(2025, month, day));
        when = std::string(MonthNames[month - 1]) + " " + std::to_string(day) + " ";
        break;
    }
    }
    out.RemLine = "REM " + when + "AT " + TwoDigits(hour) + ":" + TwoDigits(minute) + " MSG " + r.Description;
    return out;
}

TRmRecordStruct MakeRecord(int i) { return MakeBenchReminder(i).Record; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: make_cli_bench_data DATAFILE REMFILE [COUNT]\n";
        return 2;
    }
    const int count = argc == 4 ? std::atoi(argv[3]) : 10000;
    if (count <= 0) {
        std::cerr << "make_cli_bench_data: COUNT must be a positive number\n";
        return 2;
    }
    std::remove(argv[1]);   // the store would add to an existing file
    WriteDataFile(argv[1], count, MakeRecord);
    std::ofstream rem(argv[2], std::ios::trunc);
    for (int i = 0; i < count; ++i) rem << MakeBenchReminder(i).RemLine << '\n';
    rem.flush();
    if (!rem) {
        std::cerr << "make_cli_bench_data: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
