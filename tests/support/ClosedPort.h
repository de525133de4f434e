#pragma once
// A TCP port on 127.0.0.1 where nothing listens: taken from the system and given back at once,
// so that a connection to it is refused.

namespace si::test {

int ClosedLocalPort();

}  // namespace si::test
