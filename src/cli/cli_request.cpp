// Reading olvoctl's command line into a TCliRequest. Values are only
// collected here; their meaning (dates, days, files) is checked by the
// command that uses them, so every message can name what was wrong.
#include "cli/cli_request.h"

#include <algorithm>
#include <initializer_list>

#include "store/rm_record.h"

namespace {

struct TCommandName {
    TCommand Command;
    const char* Name;
};
constexpr TCommandName CommandNames[] = {
    {TCommand::Help, "help"},     {TCommand::List, "list"},     {TCommand::Add, "add"},
    {TCommand::Done, "done"},     {TCommand::Delete, "delete"}, {TCommand::Backup, "backup"},
    {TCommand::Restore, "restore"}, {TCommand::Due, "due"},
};

// An option, the names of its values (for messages), and the commands it
// belongs to (none listed: a global option, valid anywhere).
struct TOptionSpec {
    const char* Name;
    std::vector<const char*> ValueNames;
    std::vector<TCommand> Commands;
};

const std::vector<TOptionSpec>& OptionSpecs() {
    static const std::vector<TOptionSpec> specs = {
        {"--data", {"FILE"}, {}},
        {"--now", {"\"yyyy-MM-dd HH:mm:ss\""}, {}},
        {"--lang", {"NAME"}, {}},
        {"--completed", {}, {TCommand::List}},
        {"--json", {}, {TCommand::List, TCommand::Due}},
        {"--once", {"DATE", "TIME"}, {TCommand::Add}},
        {"--daily", {"TIME"}, {TCommand::Add}},
        {"--weekly", {"DAYS", "TIME"}, {TCommand::Add}},
        {"--monthly", {"DAYS", "TIME"}, {TCommand::Add}},
        {"--yearly", {"DATE", "TIME"}, {TCommand::Add}},
        {"--voice", {"mute|default|FILE"}, {TCommand::Add}},
    };
    return specs;
}

const TOptionSpec* FindOption(const std::string& name) {
    for (const TOptionSpec& spec : OptionSpecs())
        if (name == spec.Name) return &spec;
    return nullptr;
}

bool IsHelpToken(const std::string& token) { return token == "--help" || token == "-h"; }

std::string ValueList(const TOptionSpec& spec) {
    std::string list;
    for (const char* name : spec.ValueNames) list += (list.empty() ? "" : " ") + std::string(name);
    return list;
}

void SetOnce(std::optional<std::string>& slot, const std::string& option, const std::string& value) {
    if (slot) throw UsageError(option + " is given twice");
    slot = value;
}

uint8_t PeriodOfOption(const std::string& name) {
    if (name == "--daily") return PeriodDaily;
    if (name == "--weekly") return PeriodWeekly;
    if (name == "--monthly") return PeriodMonthly;
    if (name == "--yearly") return PeriodYearly;
    return PeriodOnce;
}

void ApplyOption(TCliRequest& request, const TOptionSpec& spec, std::vector<std::string> values) {
    const std::string name = spec.Name;
    if (name == "--data") return SetOnce(request.DataFile, name, values[0]);
    if (name == "--now") return SetOnce(request.NowText, name, values[0]);
    if (name == "--lang") return SetOnce(request.Language, name, values[0]);
    if (name == "--voice") return SetOnce(request.Voice, name, values[0]);
    if (name == "--completed") {
        request.Completed = true;
        return;
    }
    if (name == "--json") {
        request.Json = true;
        return;
    }
    if (request.Schedule)
        throw UsageError("give one schedule only (" + request.Schedule->Name + " and " + name + " were both given)");
    request.Schedule = TScheduleOption{name, PeriodOfOption(name), std::move(values)};
}

class TParser {
public:
    explicit TParser(const std::vector<std::string>& args) : FArgs(args) {}

    TCliRequest Run() {
        while (FNext < FArgs.size()) Step(FArgs[FNext++]);
        return FRequest;
    }

private:
    void Step(const std::string& token) {
        if (!FOptionsEnded && token == "--") {
            FOptionsEnded = true;
        } else if (!FOptionsEnded && IsHelpToken(token)) {
            FRequest.Help = true;
        } else if (!FOptionsEnded && token.size() > 2 && token.starts_with("--")) {
            Option(token);
        } else if (FRequest.Command == TCommand::None) {
            FRequest.Command = CommandFromName(token);
            if (FRequest.Command == TCommand::None) throw UsageError("unknown command '" + token + "'");
        } else {
            FRequest.Arguments.push_back(token);
        }
    }

    void Option(const std::string& token) {
        const size_t equals = token.find('=');
        const std::string name = token.substr(0, equals);
        const TOptionSpec* spec = FindOption(name);
        if (!spec) throw UsageError("unknown option " + name);
        CheckScope(*spec);
        std::vector<std::string> values;
        if (equals != std::string::npos) {
            if (spec->ValueNames.empty()) throw UsageError(name + " takes no value");
            values.push_back(token.substr(equals + 1));
        }
        while (values.size() < spec->ValueNames.size()) {
            // An option where a value belongs means the value was left out.
            if (FNext >= FArgs.size() || (!FOptionsEnded && FArgs[FNext].starts_with("--")))
                throw UsageError(name + " needs " + ValueList(*spec));
            values.push_back(FArgs[FNext++]);
        }
        ApplyOption(FRequest, *spec, std::move(values));
    }

    void CheckScope(const TOptionSpec& spec) const {
        if (spec.Commands.empty()) return;
        const auto& commands = spec.Commands;
        if (std::find(commands.begin(), commands.end(), FRequest.Command) != commands.end()) return;
        if (FRequest.Command == TCommand::None)
            throw UsageError(std::string(spec.Name) + " belongs after the command it applies to");
        throw UsageError(std::string(spec.Name) + " does not apply to '" + CommandName(FRequest.Command) + "'");
    }

    const std::vector<std::string>& FArgs;
    size_t FNext = 0;
    bool FOptionsEnded = false;
    TCliRequest FRequest;
};

void ExpectArguments(const TCliRequest& request, size_t count, const char* what) {
    const std::string command = CommandName(request.Command);
    if (request.Arguments.size() < count) throw UsageError(command + " needs " + what);
    if (request.Arguments.size() > count)
        throw UsageError("unexpected argument '" + request.Arguments[count] + "' for " + command);
}

void CheckArguments(const TCliRequest& request) {
    switch (request.Command) {
    case TCommand::None:
        throw UsageError("no command given");
    case TCommand::Help:
        if (request.Arguments.size() > 1) ExpectArguments(request, 1, "");
        if (!request.Arguments.empty() && CommandFromName(request.Arguments[0]) == TCommand::None)
            throw UsageError("unknown command '" + request.Arguments[0] + "'");
        return;
    case TCommand::List:
    case TCommand::Due:
        return ExpectArguments(request, 0, "");
    case TCommand::Add:
        ExpectArguments(request, 1, "a description");
        if (!request.Schedule)
            throw UsageError("add needs a schedule: --once, --daily, --weekly, --monthly or --yearly");
        return;
    case TCommand::Done:
    case TCommand::Delete:
        return ExpectArguments(request, 1, "a reminder ID");
    case TCommand::Backup:
    case TCommand::Restore:
        return ExpectArguments(request, 1, "a FILE");
    }
}

bool AsksForHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (IsHelpToken(arg)) return true;
    }
    return false;
}

}  // namespace

std::string CommandName(TCommand command) {
    for (const TCommandName& entry : CommandNames)
        if (entry.Command == command) return entry.Name;
    return {};
}

TCommand CommandFromName(const std::string& name) {
    for (const TCommandName& entry : CommandNames)
        if (name == entry.Name) return entry.Command;
    return TCommand::None;
}

TCommand FirstCommandWord(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        TCommand command = CommandFromName(arg);
        if (command != TCommand::None) return command;
    }
    return TCommand::None;
}

TCliRequest ParseCommandLine(const std::vector<std::string>& args) {
    TCliRequest request;
    try {
        request = TParser(args).Run();
        if (!request.Help) CheckArguments(request);
    } catch (const TCliError&) {
        if (!AsksForHelp(args)) throw;
        request = TCliRequest();
        request.Command = FirstCommandWord(args);
        request.Help = true;
    }
    // "help add" and "add --help" explain the same thing.
    if (request.Command == TCommand::Help) {
        request.Help = true;
        request.Command = request.Arguments.empty() ? TCommand::None : CommandFromName(request.Arguments[0]);
    }
    return request;
}
