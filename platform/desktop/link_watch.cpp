#include "platform/desktop/link_watch.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "core/volume/link_messages.h"

namespace tempodial {
namespace {

// Room for any one receive: the kernel sends a dump in parts of at most a
// page or 32 kB.
constexpr std::size_t kBuffer = 64 * 1024;

int netlinkSocket(unsigned groups) {
  const int fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
  if (fd < 0) return -1;
  sockaddr_nl address{};
  address.nl_family = AF_NETLINK;
  address.nl_groups = groups;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Sends one dump request and reads its answer into `into`; false on any
// failure.
template <typename Message>
bool dump(int fd, std::uint16_t type, const Message& body, LinkMessages& into) {
  struct {
    nlmsghdr header;
    Message body;
  } request{};
  request.header.nlmsg_len = NLMSG_LENGTH(sizeof(Message));
  request.header.nlmsg_type = type;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.header.nlmsg_seq = type;
  request.body = body;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  if (sendto(fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel),
             sizeof kernel) < 0) {
    return false;
  }
  std::array<std::uint8_t, kBuffer> buffer;
  into.done = false;
  while (!into.done && !into.failed) {
    const ssize_t got = recv(fd, buffer.data(), buffer.size(), 0);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno == EAGAIN) {
      // The kernel answers a dump at once; a second at most for a slow one.
      pollfd wait{fd, POLLIN, 0};
      if (poll(&wait, 1, 1000) <= 0) return false;
      continue;
    }
    if (got <= 0) return false;
    readLinkMessages(buffer.data(), static_cast<std::size_t>(got), into);
  }
  return into.done && !into.failed;
}

}  // namespace

std::optional<std::vector<InterfaceReading>> dumpLinks() {
  const int fd = netlinkSocket(0);
  if (fd < 0) return std::nullopt;
  LinkMessages answer;
  ifinfomsg link{};
  link.ifi_family = AF_UNSPEC;
  rtmsg route{};
  route.rtm_family = AF_UNSPEC;
  const bool ok = dump(fd, RTM_GETLINK, link, answer) && dump(fd, RTM_GETROUTE, route, answer);
  ::close(fd);
  if (!ok) return std::nullopt;
  return routedLinks(answer);
}

LinkWatch::LinkWatch() = default;

LinkWatch::~LinkWatch() { close(); }

bool LinkWatch::open() {
  if (socket_ >= 0) return true;
  socket_ = netlinkSocket(RTMGRP_LINK | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE);
  if (socket_ < 0) return false;
  notifier_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { drain(); });
  return true;
}

void LinkWatch::close() {
  notifier_.reset();
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
}

void LinkWatch::drain() { receive(true, nullptr); }

LinkMessages LinkWatch::take() {
  LinkMessages messages;
  receive(false, &messages);
  return messages;
}

void LinkWatch::receive(bool dispatch, LinkMessages* into) {
  if (socket_ < 0) return;
  std::array<std::uint8_t, kBuffer> buffer;
  bool routes = false;
  for (;;) {
    const ssize_t got = recv(socket_, buffer.data(), buffer.size(), 0);
    if (got < 0 && errno == EINTR) continue;
    // ENOBUFS: changes were lost while the program was busy; the next
    // reading sees where the links are.
    if (got < 0 && errno == ENOBUFS) continue;
    if (got <= 0) break;
    if (!dispatch) {
      readLinkMessages(buffer.data(), static_cast<std::size_t>(got), *into);
      continue;
    }
    // One message at a time, in order: a link changed and gone within one
    // receive is counted as it went.
    const std::uint8_t* next = buffer.data();
    std::size_t left = static_cast<std::size_t>(got);
    while (left >= sizeof(nlmsghdr)) {
      nlmsghdr header;
      std::memcpy(&header, next, sizeof header);
      const std::size_t size = std::min<std::size_t>(header.nlmsg_len, left);
      if (size < sizeof header) break;
      LinkMessages message;
      readLinkMessages(next, size, message);
      for (const InterfaceReading& link : message.links) {
        if (changed) changed(link);
      }
      for (const InterfaceReading& link : message.gone) {
        if (gone) gone(link);
      }
      routes = routes || message.routesChanged;
      const std::size_t step = std::min<std::size_t>(NLMSG_ALIGN(size), left);
      next += step;
      left -= step;
    }
  }
  if (routes && routesChanged) routesChanged();
}

}  // namespace tempodial
