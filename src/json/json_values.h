#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "json/json_variant.h"

// The JSON value tree: the common base and the scalar kinds.
namespace zw {

// The numbers are part of the interface: Kind() reports them.
enum class JsonKind : std::int32_t {
  jsBase = 0,
  jsNumber = 1,
  jsString = 2,
  jsBoolean = 3,
  jsNull = 4,
  jsList = 5,
  jsObject = 6,
};

// "js_Base", "js_Number", ... "js_Object".
std::string_view JsonKindName(JsonKind kind);

class TJsonBase {
 public:
  TJsonBase() = default;
  virtual ~TJsonBase() = default;
  TJsonBase(const TJsonBase&) = delete;
  TJsonBase& operator=(const TJsonBase&) = delete;

  // Names are 8-bit text. Here: SetValue on Field(name), when that gives a value; a scalar
  // is its own field, so it takes the value itself.
  virtual void SetBoolean(const std::string& name, bool value);
  virtual void SetInteger(const std::string& name, std::int32_t value);
  virtual void SetCurrency(const std::string& name, Currency value);
  virtual void SetDouble(const std::string& name, double value);
  virtual void SetString(const std::string& name, std::string_view value);

  // Null here and for lists and objects.
  virtual TJsonVariant GetValue() const;
  // Converts by the variant rules; does nothing here and for lists and objects.
  virtual void SetValue(const TJsonVariant& value);

  // Lists and objects own their children; these pointers are borrowed.
  virtual TJsonBase* Child(int index) const;
  virtual void SetChild(int index, std::unique_ptr<TJsonBase> value);
  virtual int Count() const;
  // The value itself here.
  virtual TJsonBase* Field(const TJsonVariant& key);

  virtual JsonKind Kind() const;
  virtual std::string_view KindName() const;
};

class TJsonNumber : public TJsonBase {
 public:
  TJsonNumber() = default;
  explicit TJsonNumber(double value) : value_(value) {}
  static std::unique_ptr<TJsonNumber> Generate(double value);

  double Value() const { return value_; }
  void SetNumber(double value) { value_ = value; }

  TJsonVariant GetValue() const override;
  void SetValue(const TJsonVariant& value) override;
  JsonKind Kind() const override;

 private:
  double value_ = 0;
};

class TJsonString : public TJsonBase {
 public:
  TJsonString() = default;
  explicit TJsonString(std::u16string value) : value_(std::move(value)) {}
  static std::unique_ptr<TJsonString> Generate(std::u16string value);

  const std::u16string& Value() const { return value_; }
  void SetText(std::u16string value) { value_ = std::move(value); }

  // The text as 8-bit text.
  TJsonVariant GetValue() const override;
  void SetValue(const TJsonVariant& value) override;
  JsonKind Kind() const override;

 private:
  std::u16string value_;
};

class TJsonBoolean : public TJsonBase {
 public:
  TJsonBoolean() = default;
  explicit TJsonBoolean(bool value) : value_(value) {}
  static std::unique_ptr<TJsonBoolean> Generate(bool value);

  bool Value() const { return value_; }
  void SetFlag(bool value) { value_ = value; }

  TJsonVariant GetValue() const override;
  void SetValue(const TJsonVariant& value) override;
  JsonKind Kind() const override;

 private:
  bool value_ = false;
};

class TJsonNull : public TJsonBase {
 public:
  JsonKind Kind() const override;
};

}  // namespace zw
