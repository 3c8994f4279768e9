#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "json/json_values.h"

// Values with children: the common list behaviour and the JSON array.
namespace zw {

class TJsonCustomList : public TJsonBase {
 public:
  // Frees the children from the last to the first.
  ~TJsonCustomList() override;

  // Null outside 0 .. Count() - 1.
  TJsonBase* Child(int index) const override;
  // Inside the range the old child is freed and the new one stored; outside nothing happens.
  void SetChild(int index, std::unique_ptr<TJsonBase> value) override;
  int Count() const override;
  // A numeric key gives Child(key); any other key the list itself.
  TJsonBase* Field(const TJsonVariant& key) override;

  // The name is the index in decimal.
  virtual TJsonBase* NameAndChild(int index, std::string& name) const;
  // The new index; a null value adds nothing and gives -1.
  virtual int AddChild(std::unique_ptr<TJsonBase> value);
  // Frees the child; the last child moves into its place, so the order is not kept.
  virtual void Delete(int index);
  // The position of that very object, -1 when it is no child.
  virtual int IndexOfChild(const TJsonBase* value) const;

  // Typed reads of a child: a child of another kind raises TJsonTypeCastError, no child
  // gives 0, empty text or false.
  virtual std::int32_t GetInteger(int index) const;  // truncated toward zero
  virtual std::string GetString(int index) const;    // as 8-bit text
  virtual std::u16string GetWideString(int index) const;
  virtual double GetDouble(int index) const;
  virtual bool GetBoolean(int index) const;

 protected:
  explicit TJsonCustomList(JsonClass value_class = JsonClass::Other) : TJsonBase(value_class) {}
  // The value the typed reads look at.
  virtual TJsonBase* ReadTarget(int index) const;
  // Takes the children of a list that has none yet.
  void AdoptChildren(std::vector<std::unique_ptr<TJsonBase>> children) noexcept {
    children_ = std::move(children);
  }

 private:
  std::vector<std::unique_ptr<TJsonBase>> children_;
};

class TJsonList : public TJsonCustomList {
 public:
  TJsonList() : TJsonCustomList(JsonClass::List) {}

  int Add(std::unique_ptr<TJsonBase> value) { return AddChild(std::move(value)); }

  JsonKind Kind() const override;
};

}  // namespace zw
