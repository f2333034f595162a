#pragma once

// Makes writes to a connection the peer has closed fail with EPIPE instead of ending the process. Our own
// sends pass MSG_NOSIGNAL, but OpenSSL writes to the socket with plain write(). Start-up calls this before
// any connection is made; it affects the whole process.
void IgnoreBrokenPipeSignal();
