#pragma once

#include <QString>
#include <openssl/types.h>

// Why the OpenSSL call on ssl that returned result failed, in words for the user: OpenSSL's reason, with
// the certificate check's verdict when verification failed. systemError is errno as the call left it. A
// stalled peer reads as the system's time-out text. Empties the thread's OpenSSL error queue.
QString TlsFailureText(const SSL* ssl, int result, int systemError);

// OpenSSL's reason for the last failure in the thread's error queue (set-up calls); empties the queue.
QString TlsQueueText();
