#include "service/ServiceCommands.h"

#include <pthread.h>
#include <signal.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <thread>

#include "service/PracticeService.h"
#include "service/ServiceServer.h"
#include "service/TextLines.h"

namespace kestrel::service {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: kestrel-service init --data DIR\n"
    "       kestrel-service serve --data DIR [--listen ADDR:PORT] [--threads N] [--log]\n"
    "       kestrel-service user add --data DIR ID PASSWORD [--rights R] [--expiry YYYY/MM/DD] "
    "[--class NAME]\n"
    "       kestrel-service user passwd|rights|class|expiry --data DIR ID VALUE\n"
    "       kestrel-service user unlock --data DIR ID\n"
    "       kestrel-service user list --data DIR\n"
    "A PASSWORD of - is read from standard input.\n";

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  bool cheapHash = false;
  bool logRequests = false;
  std::string error;
};

Arguments Parse(const std::vector<std::string>& args) {
  static const char* kValued[] = {"--data",   "--listen", "--threads",
                                  "--rights", "--expiry", "--class"};
  Arguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--cheap-hash") {
      parsed.cheapHash = true;
    } else if (arg == "--log") {
      parsed.logRequests = true;
    } else if (arg.rfind("--", 0) == 0) {
      bool known = false;
      for (const char* name : kValued) known = known || arg == name;
      if (!known) {
        parsed.error = "unknown option " + arg;
      } else if (i + 1 >= args.size()) {
        parsed.error = arg + " needs a value";
      } else {
        parsed.options[arg] = args[++i];
      }
    } else {
      parsed.positional.push_back(arg);
    }
  }
  return parsed;
}

// "ADDR:PORT"; ":PORT" keeps the default loopback address.
bool SplitListen(const std::string& text, std::string& host, int& port) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  host = colon == 0 ? "127.0.0.1" : text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  const std::string digits = text.substr(colon + 1);
  const auto number = ParseInteger(digits);
  if (!number || *number < 0 || *number > 65535 || digits.front() == '+' || digits.front() == '-')
    return false;
  port = static_cast<int>(*number);
  return true;
}

bool IsLoopback(const std::string& host) {
  return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

// What the data folder offers, and what it names but lacks, so that a faulty
// generator run shows at start.
void Summarise(PracticeService& service, std::ostream& out, std::ostream& err) {
  DataFolder& data = service.data();
  const auto catalogue = data.catalogue();
  const auto training = data.training();
  size_t missing = 0;
  for (const CatalogueDay& day : catalogue->days())
    if (!data.HasDayArchive(day.date)) ++missing;
  out << "kestrel-service: " << catalogue->days().size() << " trading days in the catalogue ("
      << missing << " without a day archive), " << training->size() << " training days, version "
      << data.config()->VersionReply() << std::endl;
  for (const TrainingDay& day : *training) {
    if (!data.ServedFile(ServedFolder::kTrainingAndUpdates, day.notesFile))
      err << "kestrel-service: training day " << FormatDate(day.date) << ": no notes file DB/"
          << day.notesFile << "\n";
    if (!data.HasDayArchive(day.date))
      err << "kestrel-service: training day " << FormatDate(day.date) << ": no day archive\n";
  }
}

ServiceOptions OptionsFor(const Arguments& args, std::ostream& err, bool create) {
  ServiceOptions options;
  options.hashCost =
      args.cheapHash ? PasswordHasher::Cost::kCheap : PasswordHasher::Cost::kInteractive;
  options.createDatabase = create;
  options.log = [&err](const std::string& text) {
    err << "kestrel-service: " << text << std::endl;
  };
  return options;
}

int Init(const Arguments& args, std::ostream& out, std::ostream& err) {
  const fs::path folder = args.options.at("--data");
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (const char* sub : {"DATA", "TICKDATA", "DB", "TREND"})
    fs::create_directories(folder / sub, ec);
  if (ec) {
    err << "kestrel-service: cannot create " << folder.string() << ": " << ec.message() << "\n";
    return 1;
  }
  std::string error;
  auto service = PracticeService::Open(folder, OptionsFor(args, err, true), &error);
  if (!service) {
    err << "kestrel-service: " << error << "\n";
    return 1;
  }
  const int added = service->accounts().SeedPracticeAccounts();
  out << "kestrel-service: database " << (folder / DataFolder::kDatabaseName).string() << " ready; "
      << added << " practice account(s) added\n";
  return 0;
}

int Serve(const Arguments& args, std::ostream& out, std::ostream& err) {
  std::string host;
  int port = 0;
  const auto listen = args.options.find("--listen");
  if (!SplitListen(listen != args.options.end() ? listen->second : kDefaultListen, host, port)) {
    err << "kestrel-service: --listen takes ADDR:PORT\n" << kUsage;
    return 2;
  }
  ServerOptions serverOptions;
  if (auto threads = args.options.find("--threads"); threads != args.options.end()) {
    const auto count = ParseInteger(threads->second);
    if (!count || *count < 1 || *count > 1024) {
      err << "kestrel-service: --threads takes 1 to 1024\n";
      return 2;
    }
    serverOptions.threads = static_cast<size_t>(*count);
  }
  serverOptions.logRequests = args.logRequests;
  serverOptions.log = [&out](const std::string& line) { out << line << std::endl; };

  // Termination signals are taken by one thread that stops the server; every
  // other thread (the server's pool included) inherits the blocked mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  const fs::path folder = args.options.at("--data");
  std::string error;
  auto service = PracticeService::Open(folder, OptionsFor(args, err, false), &error);
  if (!service) {
    err << "kestrel-service: " << error << "\n";
    return 1;
  }
  ServiceServer server(service->router(), serverOptions);
  if (std::string bindError = server.Bind(host, port); !bindError.empty()) {
    err << "kestrel-service: " << bindError << "\n";
    return 1;
  }
  if (!IsLoopback(host))
    err << "kestrel-service: listening on " << host << ": other computers can reach the service\n";
  Summarise(*service, out, err);
  out << "kestrel-service: serving " << folder.string() << " on http://" << host << ":"
      << server.port() << std::endl;

  std::thread watcher([&server, signals] {
    int signal = 0;
    sigwait(&signals, &signal);
    server.Stop();
  });
  const bool ok = server.Run();
  pthread_kill(watcher.native_handle(), SIGTERM);
  watcher.join();
  out << "kestrel-service: stopped" << std::endl;
  return ok ? 0 : 1;
}

int User(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err) {
  const std::vector<std::string>& p = args.positional;  // "user", verb, ...
  const std::string verb = p.size() > 1 ? p[1] : "";
  const size_t wanted = verb == "list" ? 2 : verb == "unlock" ? 3 : 4;
  const bool knownVerb = verb == "add" || verb == "passwd" || verb == "rights" || verb == "class" ||
                         verb == "expiry" || verb == "unlock" || verb == "list";
  if (!knownVerb || p.size() != wanted) {
    err << kUsage;
    return 2;
  }
  std::string error;
  auto service =
      PracticeService::Open(args.options.at("--data"), OptionsFor(args, err, false), &error);
  if (!service) {
    err << "kestrel-service: " << error << "\n";
    return 1;
  }
  AccountStore& accounts = service->accounts();
  if (verb == "list") {
    for (const Account& a : accounts.List()) {
      out << a.id << " rights=" << a.rights << " expiry=" << a.expiry << " class=" << a.className
          << (a.loggedIn ? " logged-in" : "") << (a.locked ? " locked" : "") << "\n";
    }
    return 0;
  }
  const std::string& id = p[2];
  if (verb == "unlock") {
    if (accounts.Unlock(id)) return out << "kestrel-service: " << id << " unlocked\n", 0;
    err << "kestrel-service: no account " << id << "\n";
    return 1;
  }
  std::string value = p[3];
  if ((verb == "add" || verb == "passwd") && value == "-") {
    std::getline(in, value);
    if (!value.empty() && value.back() == '\r') value.pop_back();
  }
  auto option = [&](const char* name, const char* fallback) {
    auto it = args.options.find(name);
    return it != args.options.end() ? it->second : std::string(fallback);
  };
  if (verb == "add") {
    error = accounts.Add(id, value, option("--rights", "1"), option("--expiry", "2099/12/31"),
                         option("--class", ""));
  } else if (verb == "passwd") {
    error = accounts.SetPassword(id, value);
  } else if (verb == "rights") {
    error = accounts.SetRights(id, value);
  } else if (verb == "class") {
    error = accounts.SetClass(id, value);
  } else {
    error = accounts.SetExpiry(id, value);
  }
  if (!error.empty()) {
    err << "kestrel-service: " << error << "\n";
    return 1;
  }
  out << "kestrel-service: " << verb << " " << id << " done\n";
  return 0;
}

}  // namespace

int RunServiceCommand(const std::vector<std::string>& argv, std::istream& in, std::ostream& out,
                      std::ostream& err) {
  const Arguments args = Parse(argv);
  if (!args.error.empty()) {
    err << "kestrel-service: " << args.error << "\n" << kUsage;
    return 2;
  }
  const std::string command = args.positional.empty() ? "" : args.positional.front();
  if (command != "init" && command != "serve" && command != "user") {
    err << kUsage;
    return 2;
  }
  if (!args.options.count("--data")) {
    err << "kestrel-service: --data DIR is required\n" << kUsage;
    return 2;
  }
  if (command != "user" && args.positional.size() != 1) {
    err << kUsage;
    return 2;
  }
  try {
    if (command == "init") return Init(args, out, err);
    if (command == "serve") return Serve(args, out, err);
    return User(args, in, out, err);
  } catch (const std::exception& e) {
    err << "kestrel-service: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace kestrel::service
