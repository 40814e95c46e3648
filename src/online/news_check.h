// The news check's answer and what it means, without any thread or window:
// the answer text ("news/orminfo.htm", INI, section [Msg]) read into a
// TNewsAnswer, and the decision whether the news window shows it.
//
// Answer:  [Msg] MsgID=<number, 0 or less: no news>  ShowAll=<1>
//                Url=<page to show>  FormWidth=<px>  FormHeight=<px>
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct TNewsAnswer {
    int MsgID = 0;
    bool ShowAll = false;  // read, used by nothing
    std::string Url;
    int FormWidth = 0;
    int FormHeight = 0;
};

// Reads an answer. An empty text is no answer (MsgID 0, nothing else set).
// Unreadable numbers read as their defaults (MsgID 0, ShowAll 1, sizes 0);
// a missing Url, or one that is not a web address, gives defaultUrl (the
// news page on our server).
TNewsAnswer ParseNewsAnswer(std::string_view text, const std::string& defaultUrl);

// Whether the news is new to the user: a positive number other than the one
// last seen (the configuration's NEWSID, -1 when none) and other than the
// one the news window already showed in this run (0 before any).
bool IsNewNews(int msgId, int lastSeenId, int shownId = 0);

struct TNewsPageSize {
    int Width = 0, Height = 0;
};
// Largest page the answer may ask for, on either side.
inline constexpr int MaxNewsPageSide = 4096;
// The page size the answer asks for, or none to keep the window's design
// size: both sides must be given. A size that is not positive or larger
// than MaxNewsPageSide is not honoured either (the numbers come from the
// network; the window adds its frame to them).
std::optional<TNewsPageSize> NewsPageSize(int formWidth, int formHeight);
