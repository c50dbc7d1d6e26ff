// The server side of the socket client: it listens on `Port`, accepts each client, and runs
// `Serve` for it on a thread of its own with a copy of the server component that holds the
// client's socket. Nothing in the program creates one; it is part of the component set.
#pragma once

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "net/TPowersock.h"

namespace pagelathe {

class TNMGeneralServer : public TPowersock {
 public:
  explicit TNMGeneralServer(bool designing = false);
  ~TNMGeneralServer() override;

  TNotifyEvent OnClientContact;

  // A server does not connect.
  void Connect() override {}
  // The work for one client, run on the client's thread by the client's copy (nothing here).
  virtual void Serve() {}
  // Cancels every client copy.
  void Abort() override;
  // Starts listening (after the properties are set; not while designing).
  void Loaded();

  [[nodiscard]] bool IsClientCopy() const { return is_copy_; }
  // The number of client copies alive now.
  [[nodiscard]] int ClientCount();

 protected:
  // A new component of the same class as this server, to serve one client.
  [[nodiscard]] virtual std::unique_ptr<TNMGeneralServer> CreateClientCopy();
  void IncomingConnection() override;

 private:
  void InstantiateServethread(int handle);

  TNMGeneralServer* server_ = nullptr;  // the server of a client copy
  bool is_copy_ = false;
  std::mutex clients_mutex_;
  std::vector<TNMGeneralServer*> clients_;
  std::vector<std::thread> threads_;

 public:
  // For descendants' CreateClientCopy: marks `copy` as a client copy of this server.
  void MarkAsCopy(TNMGeneralServer& copy) {
    copy.is_copy_ = true;
    copy.server_ = this;
  }
};

}  // namespace pagelathe
