#pragma once

#include "platform/x11_helper_linux.h"

// True when the X server of the connection reaches this process's shared-memory segments. A
// server may list the shared-memory extension and still not reach them: one on another machine
// (ssh -X), or one outside this process's IPC namespace (a container), where a segment's number
// may even name another program's memory. So a small segment is attached with the answer
// checked, and a pattern in it copied by the server and read back. Asked once per connection.
bool sharedMemoryReachesServer(const ApplicationConnection &root);
