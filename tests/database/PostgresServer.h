#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// A PostgreSQL server of the test's own: a cluster made by initdb in a
// temporary folder that the `postgres` user owns (the server refuses to
// run as root), listening on 127.0.0.1 on a free port with its socket in
// that folder, a database "quorbel", and trust for local connections.  It
// is stopped and removed when the object goes.  Usable only as root, as
// the tests run in CI.
class CPostgresServer
{
public:
    static constexpr const char* Bin = "/usr/lib/postgresql/15/bin";

    CPostgresServer()
    {
        char folder[] = "/tmp/quorbel-pg-XXXXXX";
        if (!mkdtemp(folder))
            return;
        m_folder = folder;
        m_port = FreePort();
        m_started = Run("chown postgres " + m_folder) &&
                    Run(AsPostgres(std::string(Bin) + "/initdb -A trust -U postgres -E UTF8 --locale=C.UTF-8 -D " +
                                   m_folder + "/data")) &&
                    Start() && Sql("postgres", "CREATE DATABASE quorbel");
    }

    ~CPostgresServer()
    {
        if (!m_folder.empty())
        {
            Stop();
            Run("rm -rf " + m_folder);
        }
    }

    bool Start() const
    {
        return Run(AsPostgres(std::string(Bin) + "/pg_ctl -w -t 60 -D " + m_folder + "/data -l " + m_folder +
                              "/log -o \"-p " + std::to_string(m_port) + " -k " + m_folder +
                              " -c listen_addresses=127.0.0.1\" start"));
    }

    // At once, as a crash or a power cut stops it.
    bool Stop() const
    {
        return Run(AsPostgres(std::string(Bin) + "/pg_ctl -w -t 60 -D " + m_folder + "/data -m immediate stop"));
    }

    bool Started() const { return m_started; }
    int Port() const { return m_port; }
    std::string ConnectionString() const
    {
        return "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" + std::to_string(m_port) +
               ";Database=quorbel;Uid=postgres;";
    }

    // Runs a statement with psql; true when it succeeded.
    bool Sql(const std::string& database, const std::string& statement) const
    {
        return Run(Psql(database) + " -c \"" + statement + "\"");
    }

    // The rows a query returns, unaligned, '|' between the columns.
    std::string Query(const std::string& statement) const
    {
        const std::string out = m_folder + "/query.out";
        if (std::system((Psql("quorbel") + " -A -t -c \"" + statement + "\" > " + out + " 2>&1").c_str()) != 0)
            return "(query failed)";
        std::string text;
        if (FILE* file = std::fopen(out.c_str(), "rb"))
        {
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
                text.append(buffer, n);
            std::fclose(file);
        }
        return text;
    }

private:
    static bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }
    static std::string AsPostgres(const std::string& command) { return "runuser -u postgres -- " + command; }
    std::string Psql(const std::string& database) const
    {
        return "psql -X -q -h 127.0.0.1 -p " + std::to_string(m_port) + " -U postgres -d " + database;
    }
    static int FreePort()
    {
        const int probe = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        const bool bound = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                           getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0;
        close(probe);
        return bound ? ntohs(address.sin_port) : 0;
    }

    std::string m_folder;
    int m_port = 0;
    bool m_started = false;
};
