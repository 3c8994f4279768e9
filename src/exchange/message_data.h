#pragma once

#include <memory>
#include <string>

#include "exchange/stream_storage.h"

namespace zw {

// One request to or response from the exchange server: a message ID and its named values.
class IMessageData {
 public:
  virtual ~IMessageData() = default;
  IMessageData(const IMessageData&) = delete;
  IMessageData& operator=(const IMessageData&) = delete;

  virtual std::string MessageId() const = 0;
  virtual TStreamStorage& Storage() = 0;
  virtual void SetMessageId(std::string message_id) = 0;

 protected:
  IMessageData() = default;
};

class TMessageData final : public IMessageData {
 public:
  TMessageData() = default;

  std::string MessageId() const override;
  TStreamStorage& Storage() override;
  void SetMessageId(std::string message_id) override;

 private:
  std::string message_id_;  // 8-bit text, empty in every request
  TStreamStorage storage_;
};

// Messages are shared by reference count; the last holder frees the message and its storage.
using MessageRef = std::shared_ptr<IMessageData>;

// A message with an empty ID and an empty storage.
MessageRef NewMessageData();

}  // namespace zw
