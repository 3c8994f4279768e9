#pragma once

#include <cstdint>
#include <memory>
#include <new>
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

// The class of the library that a value is or derives from. The text form is chosen by class,
// and this tells it without a chain of casts; Kind() is the reported number.
enum class JsonClass : std::uint8_t {
  Other,  // TJsonBase itself or a list class of no kind
  Number,
  String,
  Boolean,
  Null,
  List,
  Object,
  Field,
};

class TJsonArena;

class TJsonBase {
 public:
  TJsonBase() = default;
  virtual ~TJsonBase() = default;
  TJsonBase(const TJsonBase&) = delete;
  TJsonBase& operator=(const TJsonBase&) = delete;

  // A value made with new is destroyed and freed; one made by a TJsonArena is only destroyed,
  // as its room belongs to the arena. So std::unique_ptr<TJsonBase> owns either.
  static void operator delete(TJsonBase* value, std::destroying_delete_t) noexcept;
  // Frees the room of a value whose constructor failed in a new-expression.
  static void operator delete(void* room) noexcept;

  // Names are 8-bit text. Here: SetValue on Field(name), when that gives a value; a scalar
  // is its own field, so it takes the value itself.
  virtual void SetBoolean(std::string_view name, bool value);
  virtual void SetInteger(std::string_view name, std::int32_t value);
  virtual void SetCurrency(std::string_view name, Currency value);
  virtual void SetDouble(std::string_view name, double value);
  virtual void SetString(std::string_view name, std::string_view value);

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

  JsonClass Class() const { return class_; }

 protected:
  explicit TJsonBase(JsonClass value_class) : class_(value_class) {}

 private:
  friend class TJsonArena;

  JsonClass class_ = JsonClass::Other;
  bool in_arena_ = false;
};

class TJsonNumber : public TJsonBase {
 public:
  TJsonNumber() : TJsonBase(JsonClass::Number) {}
  explicit TJsonNumber(double value) : TJsonBase(JsonClass::Number), value_(value) {}
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
  TJsonString() : TJsonBase(JsonClass::String) {}
  explicit TJsonString(std::u16string value)
      : TJsonBase(JsonClass::String), value_(std::move(value)) {}
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
  TJsonBoolean() : TJsonBase(JsonClass::Boolean) {}
  explicit TJsonBoolean(bool value) : TJsonBase(JsonClass::Boolean), value_(value) {}
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
  TJsonNull() : TJsonBase(JsonClass::Null) {}

  JsonKind Kind() const override;
};

}  // namespace zw
