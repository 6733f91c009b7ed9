#pragma once
// A later start's end of the messages between instances: connect to the running instance's socket, make sure it
// belongs to this user, send one request and wait, up to a deadline, for the answer that the running instance
// sends once it has handled the request.

#include "platform/InstanceMessage.h"
#include "platform/LocalSocket.h"

#include <sys/types.h>
#include <unistd.h>

#include <string>

namespace ombrel {

enum class DeliveryResult {
    Delivered,    // the running instance handled the request
    Asking,       // it took the end request but first asks in its window about unapplied edits
    Refused,      // it answered, but did not handle the request (no handler yet, or it did not understand)
    NotListening, // nobody accepts connections at the path (yet): worth trying again
    NoAnswer,     // connected, but no answer came before the deadline or the connection was dropped
    ForeignOwner, // the socket is served by another user's process: nothing was sent
    Failed,       // the socket could not be used at all
};

DeliveryResult SendInstanceRequest(const std::string& socketPath, InstanceRequest request, Deadline deadline,
                                   uid_t expectedUid = ::getuid());

const char* DeliveryResultName(DeliveryResult result);

} // namespace ombrel
