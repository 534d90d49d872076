#pragma once
// What a command prints, described once as values, records and lists: written as lines of text for
// people, or with --json as one JSON document for scripts.
#include <concepts>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qlxw::cli {

struct Context;
struct Field;

// How a record's fields appear in the text.
struct Layout {
  enum class Kind {
    kLines,  // each field on lines of its own, without its name
    kRow,    // the fields on one line, between tabs
    kNamed,  // one line per field: its name, then the value from `column` (after a tab when 0); what a
             // list or record holds goes below that line, indented
  };
  Kind kind = Kind::kLines;
  std::size_t column = 0;

  static Layout Lines() { return {}; }
  static Layout Row() { return {.kind = Kind::kRow}; }
  static Layout Named(std::size_t column = 0) { return {.kind = Kind::kNamed, .column = column}; }
};

// One value of the output: nothing (null), a text, a number, a truth value, a list or a record.
// Texts are written in the text with their control characters written out, and unchanged in JSON.
class Value {
 public:
  Value() = default;
  Value(std::string text);
  Value(std::string_view text);
  Value(const char* text);
  template <std::integral Integer>
  requires(!std::same_as<Integer, bool> && !std::same_as<Integer, char>) Value(Integer number)
      : kind_(Kind::kNumber), scalar_(std::to_string(number)) {}

  // True or False in the text, true or false in JSON.
  static Value Boolean(bool value);
  // A number already written out ("8.5"), the same in both forms.
  static Value Number(std::string digits);
  // Text already in lines (each with its line end), written as it is.
  static Value Verbatim(std::string lines);
  // The items one after the other in the text (each on its own lines).
  static Value List(std::vector<Value> items);
  static Value Record(std::vector<Field> fields, Layout layout = Layout::Lines());

  // In the text, `text` stands for a single value, and heads a record above its fields (as a name's
  // line does in a named layout). JSON is unchanged.
  Value Shown(std::string text) &&;

  std::string Json() const;
  std::string Text() const;

 private:
  enum class Kind { kNull, kText, kNumber, kBoolean, kVerbatim, kList, kRecord };
  Value(Kind kind, std::string scalar) : kind_(kind), scalar_(std::move(scalar)) {}

  // The value's own line in the text, when it has one; its body is what comes below it.
  std::optional<std::string> Heading() const;
  void WriteLines(std::string& out, const std::string& indent) const;
  void WriteBody(std::string& out, const std::string& indent) const;
  void WriteFields(std::string& out, const std::string& indent) const;

  Kind kind_ = Kind::kNull;
  std::string scalar_;  // a text, a number written out, or "true" / "false"
  std::optional<std::string> shown_;
  // Shared, as a value does not change once made: a copy does not copy the tree below it.
  std::shared_ptr<const std::vector<Value>> items_;
  std::shared_ptr<const std::vector<Field>> fields_;
  Layout layout_;
};

struct Field {
  std::string name;  // the JSON member's name
  Value value;
  // The name in the text's named layout: `name` when not given, no name at all when empty.
  std::optional<std::string> label = std::nullopt;
  // What scripts need but a person does not: left out of the text.
  bool jsonOnly = false;
};

// Writes what a command prints: the text form, or with --json the JSON document.
void Print(const Context& context, const Value& value);

// A remark for a person on standard error about something the JSON document carries in its place.
void Note(const Context& context, const std::string& text);

}  // namespace qlxw::cli
