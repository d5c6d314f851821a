#include "frame/command_line.h"

#include <limits>

namespace velmora {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

class LineReader {
public:
    explicit LineReader(std::string_view line) : line_(line) {}

    bool AtEnd() const { return position_ >= line_.size(); }
    char Peek() const { return AtEnd() ? '\0' : line_[position_]; }
    void Advance() {
        if (!AtEnd()) {
            ++position_;
        }
    }

    void SkipProgramName() {
        if (Peek() == '"') {
            Advance();
            while (!AtEnd() && Peek() != '"') {
                Advance();
            }
        } else {
            while (!AtEnd() && !IsBlank(Peek())) {
                Advance();
            }
        }
        Advance();  // the closing quote or the blank
        SkipBlanks();
    }

    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek())) {
            Advance();
        }
    }

    void SkipBlanksAndColons() {
        while (!AtEnd() && (IsBlank(Peek()) || Peek() == ':')) {
            Advance();
        }
    }

    // A signed decimal number from its leading digits; 0 without digits.
    // Window handles are 32-bit values, so a number that does not fit in 32
    // bits cannot name a window and reads as 0.
    std::int64_t ReadHandle() {
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            Advance();
        }
        constexpr std::int64_t kLimit =
            static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
        std::int64_t value = 0;
        bool tooLarge = false;
        while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
            if (!tooLarge) {
                value = value * 10 + (Peek() - '0');
                tooLarge = value > kLimit;
            }
            Advance();
        }
        if (negative) {
            value = -value;
        }
        if (tooLarge || value > std::numeric_limits<std::int32_t>::max() ||
            value < std::numeric_limits<std::int32_t>::min()) {
            return 0;
        }
        return value;
    }

private:
    std::string_view line_;
    std::size_t position_ = 0;
};

}  // namespace

ParsedCommandLine ParseCommandLine(std::string_view line) {
    ParsedCommandLine result;
    LineReader reader(line);
    reader.SkipProgramName();
    if (reader.AtEnd()) {
        return result;
    }
    if (reader.Peek() == '-' || reader.Peek() == '/') {
        reader.Advance();
    }
    const char letter = reader.Peek();
    reader.Advance();
    switch (letter) {
        case 'p':
        case 'P':
            reader.SkipBlanksAndColons();
            result.mode = RunMode::Preview;
            result.window = reader.ReadHandle();
            break;
        case 's':
        case 'S':
            result.mode = RunMode::FullScreen;
            break;
        case 'c':
        case 'C':
            reader.SkipBlanksAndColons();
            result.mode = RunMode::Settings;
            if (reader.AtEnd()) {
                result.useForegroundWindow = true;
            } else {
                result.window = reader.ReadHandle();
            }
            break;
        case 'a':
        case 'A':
            reader.SkipBlanksAndColons();
            result.mode = RunMode::ChangePassword;
            result.window = reader.ReadHandle();
            break;
        default:
            result.mode = RunMode::Settings;
            break;
    }
    return result;
}

}  // namespace velmora
