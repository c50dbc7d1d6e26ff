// The general server: accepting clients and serving each on its own thread.
#include "net/TNMGeneralServer.h"

#include <unistd.h>

namespace pagelathe {
namespace {

// Held around accepting and around removing a client copy.
std::mutex g_server_lock;

}  // namespace

TNMGeneralServer::TNMGeneralServer(bool designing) : TPowersock(designing) {}

TNMGeneralServer::~TNMGeneralServer() {
  BeginDestroy();
  Abort();
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> lock(clients_mutex_);
    threads.swap(threads_);
  }
  for (std::thread& thread : threads) {
    if (thread.joinable()) thread.join();
  }
}

std::unique_ptr<TNMGeneralServer> TNMGeneralServer::CreateClientCopy() {
  auto copy = std::make_unique<TNMGeneralServer>();
  MarkAsCopy(*copy);
  return copy;
}

void TNMGeneralServer::Loaded() {
  if (Designing() || is_copy_) return;
  Listen(false);
}

void TNMGeneralServer::Abort() {
  std::lock_guard<std::mutex> lock(clients_mutex_);
  for (TNMGeneralServer* client : clients_)
    client->Cancel();
}

int TNMGeneralServer::ClientCount() {
  std::lock_guard<std::mutex> lock(clients_mutex_);
  return static_cast<int>(clients_.size());
}

void TNMGeneralServer::IncomingConnection() {
  int handle = -1;
  {
    std::lock_guard<std::mutex> lock(g_server_lock);
    SetWaitDone(true);
    handle = Accept();
  }
  if (handle >= 0) InstantiateServethread(handle);
  if (OnClientContact) OnClientContact(*this);
}

void TNMGeneralServer::InstantiateServethread(int handle) {
  std::lock_guard<std::mutex> lock(clients_mutex_);
  threads_.emplace_back([this, handle] {
    std::unique_ptr<TNMGeneralServer> copy;
    try {
      copy = CreateClientCopy();
      copy->OnConnect = OnConnect;
      copy->OnDisconnect = OnDisconnect;
      copy->AdoptSocket(handle);
      {
        std::lock_guard<std::mutex> guard(clients_mutex_);
        clients_.push_back(copy.get());
      }
      copy->Serve();
    } catch (...) {  // a client's failure ends its thread only
    }
    if (!copy) {
      ::close(handle);
      return;
    }
    std::lock_guard<std::mutex> server_lock(g_server_lock);
    {
      std::lock_guard<std::mutex> guard(clients_mutex_);
      std::erase(clients_, copy.get());
    }
    copy.reset();
  });
}

}  // namespace pagelathe
