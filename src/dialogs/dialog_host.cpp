#include "dialogs/dialog_host.h"

namespace rtceval {

const DialogRow* findDialogRow(std::span<const DialogRow> table, int number) {
  for (const DialogRow& row : table)
    if (row.number == number) return &row;
  return nullptr;
}

DialogHost::DialogHost(WindowEvents& events, std::span<const DialogRow> table,
                       DialogContext context)
    : events_(events), table_(table), context_(std::move(context)), openSubForm_(kNone) {
  context_.close = [this] { close(); };
}

DialogHost::~DialogHost() {
  close();
}

void DialogHost::Load_Sub_Form(int number) {
  close();
  if (const DialogRow* row = findDialogRow(table_, number)) {
    current_ = row->make(context_);
    current_->Form_Load();
    ++generation_;
  }
  openSubForm_ = number;
}

void DialogHost::close() {
  if (!current_) return;
  current_->unload();
  closed_.push_back(std::move(current_));
  ++generation_;
}

void DialogHost::replyArrived(const ReplyNote& reply) {
  if (current_) current_->replyArrived(reply);
}

void DialogHost::closedByUser() {
  events_.run([this] { close(); });
}

}  // namespace rtceval
