#include "exchange/message_data.h"

#include <utility>

namespace zw {

std::string TMessageData::MessageId() const { return message_id_; }

TStreamStorage& TMessageData::Storage() { return storage_; }

void TMessageData::SetMessageId(std::string message_id) { message_id_ = std::move(message_id); }

MessageRef NewMessageData() { return std::make_shared<TMessageData>(); }

}  // namespace zw
