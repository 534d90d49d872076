#include "cli/output.h"

#include <iostream>

#include "cli/context.h"
#include "cli/json.h"
#include "cli/printable.h"

namespace qlxw::cli {
namespace {

// What stands between a name and its value in the named layout.
std::string Gap(const std::string& label, std::size_t column) {
  if (column == 0) {
    return "\t";
  }
  std::string spaces(label.size() < column ? column - label.size() : 1, ' ');
  return spaces;
}

}  // namespace

Value::Value(std::string text) : kind_(Kind::kText), scalar_(std::move(text)) {}

Value::Value(std::string_view text) : Value(std::string(text)) {}

Value::Value(const char* text) : Value(std::string(text)) {}

Value Value::Boolean(bool value) {
  return {Kind::kBoolean, value ? "true" : "false"};
}

Value Value::Number(std::string digits) {
  return {Kind::kNumber, std::move(digits)};
}

Value Value::Verbatim(std::string lines) {
  return {Kind::kVerbatim, std::move(lines)};
}

Value Value::List(std::vector<Value> items) {
  Value list(Kind::kList, {});
  list.items_ = std::make_shared<const std::vector<Value>>(std::move(items));
  return list;
}

Value Value::Record(std::vector<Field> fields, Layout layout) {
  Value record(Kind::kRecord, {});
  record.fields_ = std::make_shared<const std::vector<Field>>(std::move(fields));
  record.layout_ = layout;
  return record;
}

Value Value::Shown(std::string text) && {
  shown_ = std::move(text);
  return std::move(*this);
}

// The writers below recurse as values nest; a command's values nest a few levels deep.
// NOLINTNEXTLINE(misc-no-recursion)
std::string Value::Json() const {
  std::string json;
  switch (kind_) {
    case Kind::kNull:
      return "null";
    case Kind::kText:
    case Kind::kVerbatim:
      return JsonString(scalar_);
    case Kind::kNumber:
    case Kind::kBoolean:
      return scalar_;
    case Kind::kList:
      for (const Value& item : *items_) {
        json += (json.empty() ? "" : ", ") + item.Json();
      }
      return "[" + json + "]";
    case Kind::kRecord:
      for (const Field& field : *fields_) {
        json += (json.empty() ? "" : ", ") + JsonString(field.name) + ": " + field.value.Json();
      }
      return "{" + json + "}";
  }
  return "null";
}

std::string Value::Text() const {
  std::string text;
  WriteLines(text, "");
  return text;
}

// NOLINTNEXTLINE(misc-no-recursion)
std::optional<std::string> Value::Heading() const {
  if (shown_) {
    return Printable(*shown_);
  }
  switch (kind_) {
    case Kind::kNull:
      return "";
    case Kind::kText:
      return Printable(scalar_);
    case Kind::kNumber:
      return scalar_;
    case Kind::kBoolean:
      return scalar_ == "true" ? "True" : "False";
    case Kind::kRecord:
      if (layout_.kind == Layout::Kind::kRow) {
        std::string row;
        const char* separator = "";
        for (const Field& field : *fields_) {
          if (!field.jsonOnly) {
            row += separator + field.value.Heading().value_or("");
            separator = "\t";
          }
        }
        return row;
      }
      return std::nullopt;
    case Kind::kVerbatim:
    case Kind::kList:
      return std::nullopt;
  }
  return std::nullopt;
}

// NOLINTNEXTLINE(misc-no-recursion)
void Value::WriteLines(std::string& out, const std::string& indent) const {
  if (const std::optional<std::string> heading = Heading()) {
    out += indent + *heading + "\n";
  }
  WriteBody(out, indent);
}

// NOLINTNEXTLINE(misc-no-recursion)
void Value::WriteBody(std::string& out, const std::string& indent) const {
  if (kind_ == Kind::kVerbatim) {
    out += scalar_;
  } else if (kind_ == Kind::kList) {
    for (const Value& item : *items_) {
      item.WriteLines(out, indent);
    }
  } else if (kind_ == Kind::kRecord && layout_.kind != Layout::Kind::kRow) {
    WriteFields(out, indent);
  }
}

// NOLINTNEXTLINE(misc-no-recursion)
void Value::WriteFields(std::string& out, const std::string& indent) const {
  for (const Field& field : *fields_) {
    if (field.jsonOnly) {
      continue;
    }
    if (layout_.kind != Layout::Kind::kNamed) {
      field.value.WriteLines(out, indent);
      continue;
    }
    const std::string label = field.label.value_or(field.name);
    const std::optional<std::string> heading = field.value.Heading();
    if (!heading) {
      out += indent + label + "\n";
    } else if (label.empty()) {
      out += indent + *heading + "\n";
    } else {
      out += indent + label + Gap(label, layout_.column) + *heading + "\n";
    }
    field.value.WriteBody(out, indent + "  ");
  }
}

void Print(const Context& context, const Value& value) {
  context.out << (context.Json() ? value.Json() + "\n" : value.Text());
}

void Note(const Context& context, const std::string& text) {
  if (!context.Json()) {
    std::cerr << "qlxw: " << Printable(text) << "\n";
  }
}

}  // namespace qlxw::cli
