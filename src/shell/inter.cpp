// INTER: the update check as the operator sees it.
#include "base/codepage.hpp"
#include "shell/config_record.hpp"
#include "shell/program.hpp"
#include "shell/update_check.hpp"

namespace tx::shell {

bool Program::INTER(int mode) {
  screen.MENS(0, "Verificando se existe atualização...."_cp.str());
  screen.console().refresh();
  UpdateServer server = UpdateServer::from_setting(env.update_setting);
  std::optional<std::string> reply = fetch_update_page(server);
  screen.MENS(0, "");
  if (!reply) {
    screen.AVISOSN("Erro no acesso a Internet");
    // An office without Internet is asked once whether to keep checking;
    // after "N" it is not bothered again at start.
    if (g.VER_ATUAL != "N") {
      auto a = screen.AVISOSN("Continua a fazer essa verificação sempre na entrada?"_cp.str(), 2);
      std::string answer = std::holds_alternative<std::string>(a) ? std::get<std::string>(a) : "N";
      if (answer == "N" && !screen.quitting()) {
        g.VER_ATUAL = "N";
        write_setting(tables, "VER_ATUAL", "N");
      } else if (answer == "S" && g.VER_ATUAL != "S") {
        g.VER_ATUAL = "S";
        write_setting(tables, "VER_ATUAL", "S");
      }
    }
    screen.AVISOSN("Nao foi possivel saber se ha atualizacao!");
    return false;
  }
  UpdateReply r = parse_update_reply(*reply);
  switch (decide_update(r, g.CULTIMAVER)) {
    case UpdateDecision::Newer: {
      auto a = screen.AVISOSN({"Aviso! Existe a versão "_cp + r.version + " diferente da sua " + g.VERSAO,
                               "Atualização feita em "_cp + r.date + ". Deseja atualizar agora?"},
                              2);
      if (std::holds_alternative<std::string>(a) && std::get<std::string>(a) == "S") {
        screen.AVISOSN("Saindo do programa para a nova atualização"_cp.str());
        std::string page = env.download_page;
        if (page.empty()) page = "http://" + server.host + ":" + std::to_string(server.port) + "/";
        subsystems.open_download(page);
        return true;
      }
      return false;
    }
    case UpdateDecision::Same:
    case UpdateDecision::Older:
      if (mode == 1) screen.AVISOSN("Não existe atualização no momento!"_cp.str());
      return false;
    case UpdateDecision::NoMarker:
      screen.AVISOSN("Não existe atualização no momento!"_cp.str());
      return false;
  }
  return false;
}

}  // namespace tx::shell
