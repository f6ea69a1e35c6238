#include "tax/gain_engine.hpp"

#include <cmath>

#include "base/helpers.hpp"
#include "tax/gain_parameters.hpp"

namespace tx::tax::gain {

namespace {

Decimal corta(Decimal v) { return DESPREZA(v, 14, 2); }
Decimal cem() { return Decimal(100); }

// 1 - 1 / rate ^ months, as the factor tables give it.
long double fator(long double taxa, int meses) {
  return 1.0L - 1.0L / std::pow(taxa, static_cast<long double>(meses));
}
Decimal arredonda(long double v, int dec) {
  long double s = std::pow(10.0L, dec);
  return Decimal::from_units(static_cast<long long>(std::llround(v * s)), dec);
}
Decimal trunca(long double v, int dec) {
  long double s = std::pow(10.0L, dec);
  return Decimal::from_units(static_cast<long long>(std::trunc(v * s)), dec);
}

bool sim(const std::string& s) { return s == "S"; }

// Cost of an earlier-year sale: the part of the amounts received that is not
// taxable.
Decimal custo_anterior(const Ganho& g) {
  return corta((Decimal(1) - g.PER_TRI / cem()) * g.VAL_RECOL);
}

const char* nome_acao(int tipo) {
  switch (tipo) {
    case 1: return "Ação P.Nominativa";
    case 2: return "Ação O.Nominativa";
    case 3: return "Quotas";
    case 4: return "Outras";
    default: return "";
  }
}

void zera_reducoes(Ganho& g) {
  g.REDUCAO = g.FATOR1 = g.FATOR2 = g.FR1 = g.FR2 = Decimal();
  for (auto& c : g.custos) {
    c.PER_RED = 0;
    c.PER_RED1 = c.PER_RED2 = c.VALOR_REDU = c.CUST_UNI = c.RESUL_2 = c.RESUL_3 = Decimal();
  }
}

void percentual_tributavel(Ganho& g) {
  if (g.anterior()) return;  // typed by the operator
  g.PER_TRI = g.VAL_ALI.is_zero() ? Decimal() : (g.GAN_TRIV / g.VAL_ALI * cem()).round(6);
}

}  // namespace

int DIF_MESES(Date later, Date earlier) {
  if (earlier <= kFimContagemAntiga()) earlier = kInicioContagem();
  // A later date before the earlier one counts negative months, so that the
  // factor comes out negative and the dates are refused.
  return 12 * (later.year() - earlier.year()) + (later.month() - earlier.month() + 1);
}

int FPER_RED(const Ganho& g, Date data, const ContextoGanho& ctx,
             std::vector<std::string>* avisos) {
  if (ctx.exterior || g.anterior()) return 0;
  if (data.empty()) data = g.DATA_ADQ;
  if (data.empty()) return 0;
  if (!g.DATA_ADQ.empty() && data < g.DATA_ADQ) {
    if (avisos) avisos->push_back("Data informada errada. Menor que a lançada como aquisição!");
    return 0;
  }
  int ano = data.year();
  if (ano > kAnoReducaoUltimo) return 0;
  if (ano < kAnoReducaoTotal) return 100;
  return (kAnoReducaoUltimo + 1 - ano) * kReducaoPorAno;
}

Fatores CALC_RED(Date aquisicao, Date venda, bool exterior) {
  Fatores f;
  if (exterior || aquisicao.empty() || venda.empty()) return f;
  long double fr1 = 0, fr2 = 0;
  if (venda > kFimFR1()) {
    if (aquisicao.year() > kAnoUltimoSoFR1) {
      fr2 = fator(kTaxaFR2, DIF_MESES(venda, aquisicao));
    } else {
      fr1 = fator(kTaxaFR1, DIF_MESES(kFimFR1(), aquisicao));
      fr2 = fator(kTaxaFR2, DIF_MESES(venda, kInicioFR2()));
    }
    f.FR1 = arredonda(fr1, kDecimaisFator);
    f.FR2 = arredonda(fr2, kDecimaisFator);
  } else if (venda >= kInicioLei11196()) {
    f.FR1 = trunca(fator(kTaxaFR1, DIF_MESES(venda, aquisicao)), kDecimaisFatorAntigo);
  } else {
    f.FR2 = trunca(fator(kTaxaFR2, DIF_MESES(venda, aquisicao)), kDecimaisFatorAntigo);
  }
  if (f.FR1.negative() || f.FR2.negative()) {
    f.FR1 = f.FR2 = Decimal();
    f.data_invalida = true;
  }
  return f;
}

void COMPLETA_CUSTOS(Ganho& g) {
  if (g.TIPO_BEM == 3) g.PARCOMPRA = "S";
  if (g.custos.empty()) {
    CustoGanho c;
    c.BEM_NRO = g.BEM_NRO;
    c.VALOR_CUST = g.CUS_ATUAL;
    c.DATA_CUST = g.DATA_ADQ;
    if (g.TIPO_BEM == 3) {
      c.TIPO_ACAO = g.TIPOPART == 1 ? 1 : 3;
      c.LOTE = nome_acao(c.TIPO_ACAO);
      c.TIPO_OPER = 1;
    }
    g.custos.push_back(c);
  }
  CustoGanho& base = g.custos.front();
  if (g.TIPO_BEM != 3 && !sim(g.PARCOMPRA)) {
    // a single cost: the base line is the cost and the acquisition date
    g.custos.resize(1);
    base.VALOR_CUST = g.CUS_ATUAL;
    base.DATA_CUST = g.DATA_ADQ;
  } else if (g.TIPO_BEM != 3) {
    if (base.DATA_CUST.empty())
      base.DATA_CUST = g.DATA_ADQ.empty() ? Date::ymd(kAnoBase - 1, 12, 31) : g.DATA_ADQ;
    if (g.anterior()) base.VALOR_CUST = custo_anterior(g);
  }
}

Decimal FCUS_TOT(Ganho& g, const ContextoGanho& ctx) {
  (void)ctx;
  Decimal C;
  if (g.anterior() && (g.TIPO_BEM != 2 || !g.PER_TRI.is_zero())) {
    C = custo_anterior(g);
    g.CUS_ATUAL = C;
    return C;
  }
  if (g.TIPO_BEM == 3) {
    // weighted average cost: each sale takes the average of what is held
    long qtd = 0, vendida = 0;
    Decimal custo, custo_venda;
    for (auto& c : g.custos) {
      if (c.TIPO_OPER == 3) {
        c.CM_PONDER = qtd == 0 ? Decimal() : (custo / Decimal(qtd)).round(6);
        Decimal parte = qtd == 0 ? Decimal() : (custo * Decimal(c.MOV_ACAO) / Decimal(qtd)).round(2);
        custo_venda += parte;
        custo -= parte;
        qtd -= c.MOV_ACAO;
        vendida += c.MOV_ACAO;
        if (!c.DATA_CUST.empty()) g.DATA_ALI = c.DATA_CUST;
      } else {
        c.CM_PONDER = c.MOV_ACAO == 0 ? Decimal() : (c.VALOR_CUST / Decimal(c.MOV_ACAO)).round(6);
        qtd += c.MOV_ACAO;
        custo += c.VALOR_CUST;
      }
      c.SALDO_ACAO = qtd;
      c.CMED_COEF = custo;
    }
    (void)vendida;
    g.CUS_ATUAL = custo_venda;
    return custo_venda;
  }
  if (sim(g.PARCOMPRA) || (g.anterior() && g.TIPO_BEM == 2)) {
    for (const auto& c : g.custos) C += c.VALOR_CUST;
    g.CUS_ATUAL = C;
  } else {
    C = g.CUS_ATUAL;
  }
  for (auto& c : g.custos) {
    c.PER_CUST = C.is_zero() ? cem() : min((c.VALOR_CUST / C * cem()).round(6), cem());
  }
  if (g.permuta()) {
    Decimal parte = (g.VAL_ALI / (C + g.VAL_ALI)).round(8);
    C = corta(C * parte);
  }
  return C;
}

bool isencao_pequeno_valor(const Ganho& g) {
  return sim(g.PEQ_VALOR) && g.VAL_ALI <= LIMITE_PEQ_VALOR(g);
}

bool isencao_unico_imovel(const Ganho& g) {
  return g.TIPO_BEM == 1 && g.USU_440 == "N" && g.VAL_ALI <= kLimiteUnicoImovel();
}

Decimal aliquota(const Ganho& g) { return g.fundo() ? kAliquotaFundo() : kAliquota(); }

void CALC_LUCRO(Ganho& g, ResultadoGanho& r) {
  const bool isento = isencao_pequeno_valor(g) || isencao_unico_imovel(g);
  r.isento = isento;
  const bool reinveste = sim(g.USA_ART31);
  auto parte_reinvestida = [&](Decimal base) {
    if (!reinveste || base <= Decimal()) return Decimal();
    if (g.PERART31 >= cem()) return base;
    return corta(base * g.PERART31 / cem());
  };
  if (g.anterior()) {
    r.R2 = r.R3 = r.R4 = r.ganho;
    r.reinvestido = parte_reinvestida(r.ganho);
    if (isento) {
      g.GAN_TRIV = g.VAL_IMPOSV = Decimal();
      g.VAL_NAOTRI = r.ganho;
      return;
    }
    g.GAN_TRIV = max(r.ganho - r.reinvestido, Decimal());
    g.VAL_IMPOSV = corta(g.GAN_TRIV * aliquota(g));
    g.VAL_NAOTRI = r.reinvestido;
    return;
  }
  const Decimal G = r.ganho;
  r.R2 = G - g.REDUCAO;
  r.R3 = r.R2 - g.FATOR1;
  if (!sim(g.PARCOMPRA)) g.FATOR2 = (r.R3 * g.FR2).round(2);
  r.R4 = r.R3 - g.FATOR2;
  r.reinvestido = parte_reinvestida(G - g.REDUCAO - g.FATOR1 - g.FATOR2);
  if (isento) {
    g.GAN_TRIV = g.VAL_IMPOSV = Decimal();
    g.VAL_NAOTRI = G;
  } else {
    Decimal tributavel = r.R4 - r.reinvestido;
    bool reducao_total = !sim(g.PARCOMPRA) && !g.custos.empty() && g.custos.front().PER_RED >= 100;
    if (tributavel <= Decimal() || reducao_total) {
      g.GAN_TRIV = g.VAL_IMPOSV = Decimal();
      g.VAL_NAOTRI = G;
    } else {
      g.GAN_TRIV = tributavel;
      g.VAL_NAOTRI = max(G - tributavel, Decimal());
      g.VAL_IMPOSV = corta(tributavel * aliquota(g));
    }
  }
  percentual_tributavel(g);
}

void VE_GAN(Ganho& g, ResultadoGanho& r) {
  const Decimal valor = g.anterior() ? g.VAL_RECOL : g.VAL_ALI;
  Decimal ganho = valor - (r.custo + g.VAL_CORR);
  ganho = max(ganho, Decimal());
  r.ganho = r.R2 = r.R3 = r.R4 = ganho;
  r.isento = isencao_pequeno_valor(g) || isencao_unico_imovel(g);
  if (r.isento) {
    g.GAN_TRIV = g.VAL_IMPOSV = Decimal();
    g.VAL_NAOTRI = ganho;
  } else {
    g.GAN_TRIV = ganho;
    g.VAL_NAOTRI = Decimal();
    g.VAL_IMPOSV = corta(ganho * aliquota(g));
  }
  percentual_tributavel(g);
}

ResultadoGanho FCALGAN(Ganho& g, const ContextoGanho& ctx) {
  ResultadoGanho r;
  COMPLETA_CUSTOS(g);
  if (g.anterior() && !g.PER_TRI.is_zero()) g.VAL_ALI = g.VAL_RECOL;
  r.custo = FCUS_TOT(g, ctx);
  if (g.TIPO_BEM != 1) {
    zera_reducoes(g);
    VE_GAN(g, r);
    return r;
  }
  zera_reducoes(g);
  if (g.anterior()) {
    r.ganho = max(g.VAL_RECOL - r.custo, Decimal());
    CALC_LUCRO(g, r);
    return r;
  }
  const Decimal G = max(g.VAL_ALI - (r.custo + g.VAL_CORR), Decimal());
  const Decimal liquido = g.VAL_ALI - r.custo - g.VAL_CORR;
  r.ganho = G;
  bool aviso_fator = false;
  for (auto& c : g.custos) {
    Date data = sim(g.PARCOMPRA) ? c.DATA_CUST : g.DATA_ADQ;
    c.PER_RED = FPER_RED(g, data, ctx, &r.avisos);
    Fatores f = CALC_RED(data.empty() ? g.DATA_ADQ : data, g.DATA_ALI, ctx.exterior);
    if (f.data_invalida) aviso_fator = true;
    c.PER_RED1 = f.FR1;
    c.PER_RED2 = f.FR2;
    const Decimal p = c.PER_CUST / cem();
    const Decimal rr = Decimal(c.PER_RED) / cem();
    c.VALOR_REDU = corta(p * G * rr);
    const Decimal linha = p * liquido;
    c.CUST_UNI = corta(linha);
    if (linha >= Decimal()) {
      Decimal a = corta(linha * f.FR1);
      Decimal b = corta((linha - a) * f.FR2);
      c.RESUL_2 = corta(a * (Decimal(1) - rr));
      c.RESUL_3 = corta(b * (Decimal(1) - rr));
    }
    g.REDUCAO += c.VALOR_REDU;
    g.FATOR1 += c.RESUL_2;
    g.FATOR2 += c.RESUL_3;
  }
  if (aviso_fator) r.avisos.push_back("Data invalida. Posterior ao mes da venda");
  if (!g.custos.empty()) {
    g.FR1 = g.custos.front().PER_RED1;
    g.FR2 = g.custos.front().PER_RED2;
  }
  CALC_LUCRO(g, r);
  return r;
}

// --- receipts ---

void FX_GANHO(Ganho& g, int mes) {
  if (mes < 1 || mes > 12) return;
  MesGanho& m = g.meses[static_cast<size_t>(mes - 1)];
  m.VAL_TRI = sim(g.PEQ_VALOR) ? Decimal() : corta(m.REC_MES * g.PER_TRI / cem());
  m.IMP_DEV = corta(m.VAL_TRI * aliquota(g));
}

bool CONF_DIA(int mes, int dia, std::string* aviso) {
  bool ok;
  if (dia <= 28) ok = dia >= 0;
  else if (dia == 29) ok = true;
  else if (dia == 30) ok = mes != 2;
  else if (dia == 31) ok = mes == 1 || mes == 3 || mes == 5 || mes == 7 || mes == 8 || mes == 10 || mes == 12;
  else ok = false;
  if (!ok && aviso) *aviso = "Atenção. Dia errado para pagamento";
  return ok;
}

std::vector<std::string> FECHA_RECEBIMENTOS(Ganho& g, const ContextoGanho& ctx) {
  std::vector<std::string> avisos;
  if (!g.a_prazo()) {
    g.meses = {};
    const bool isento = isencao_pequeno_valor(g) || isencao_unico_imovel(g);
    int mes = g.DATA_ALI.empty() ? 1 : g.DATA_ALI.month();
    MesGanho& m = g.meses[static_cast<size_t>(mes - 1)];
    m.REC_MES = g.VAL_ALI;
    m.VAL_TRI = isento ? Decimal() : g.GAN_TRIV;
    m.IMP_DEV = g.VAL_IMPOSV;
    m.IMP_PAG = g.IMPPAGO;
    m.IMP_LEI = g.acoes() ? g.VAL_PARTE : Decimal();
    g.VAL_RECOL = g.VAL_ALI;
    g.VAL_TRIBU = m.VAL_TRI;
    if (!g.anterior())
      g.PER_TRI = g.VAL_ALI.is_zero() ? Decimal() : (m.VAL_TRI / g.VAL_ALI * cem()).round(6);
    return avisos;
  }
  Decimal rec, tri, dev, pag, lei;
  for (const auto& m : g.meses) {
    rec += m.REC_MES;
    tri += m.VAL_TRI;
    dev += m.IMP_DEV;
    pag += m.IMP_PAG;
    lei += m.IMP_LEI;
  }
  g.VAL_RECOL = rec;
  g.VAL_TRIBU = tri;
  g.GAN_TRIP = tri;
  g.VAL_IMPOSP = dev;
  g.IMPPAGO = pag;
  if (g.acoes()) g.VAL_PARTE = lei;
  const Decimal vendido = g.anterior() ? g.VAL_DIFE : g.VAL_ALI;
  if (rec > vendido) {
    avisos = {"Atenção! O Valor recebido nas parcelas foi maior que ",
              "o declarado inicialmente. Se esses valores estão com  ",
              "juros/multa e eles não devem ser lançados aqui e sim",
              "nos rendimentos de PF/PJ. "};
  }
  if (g.anterior() && !g.PER_TRI.is_zero()) FCALGAN(g, ctx);
  return avisos;
}

std::array<LinhaRecebimento, 13> MATRIZ_RECEBIMENTOS(const Ganho& g) {
  std::array<LinhaRecebimento, 13> linhas{};
  LinhaRecebimento& total = linhas[12];
  total.rotulo = "<- Totais ->";
  for (int i = 0; i < 12; ++i) {
    const MesGanho& m = g.meses[static_cast<size_t>(i)];
    LinhaRecebimento& l = linhas[static_cast<size_t>(i)];
    l.mes = i + 1;
    l.rotulo = std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + "-" + TRAZ_MES(i + 1);
    l.VAL_TRI = m.VAL_TRI;
    l.IMP_DEV = m.IMP_DEV;
    l.DIA_REC = m.DIA_REC;
    l.REC_MES = m.REC_MES;
    l.IMP_LEI = m.IMP_LEI;
    l.IMP_PAG = m.IMP_PAG;
    total.VAL_TRI += m.VAL_TRI;
    total.IMP_DEV += m.IMP_DEV;
    total.REC_MES += m.REC_MES;
    total.IMP_LEI += m.IMP_LEI;
    total.IMP_PAG += m.IMP_PAG;
  }
  for (auto& l : linhas) l.mostra_retido = g.acoes();
  return linhas;
}

Diferimento SOMADIFE(const Ganho& g) {
  Diferimento d;
  if (g.anterior()) {
    const Decimal pct = g.PER_TRI / cem();
    d.valor = g.VAL_ANTE;
    d.imposto = corta(g.VAL_ANTE * pct * kAliquota());
    d.valor_diferido = g.VAL_DIFE;
    d.imposto_diferido = corta(g.VAL_DIFE * pct * kAliquota());
  } else {
    d.valor = g.VAL_ALI;
    d.imposto = g.VAL_IMPOSV;
    if (g.acoes()) d.imposto -= g.VAL_PARTE;
  }
  d.recebido = g.VAL_RECOL;
  d.pago = g.IMPPAGO;
  const Decimal base_valor = g.anterior() ? d.valor_diferido : d.valor;
  const Decimal base_imposto = g.anterior() ? d.imposto_diferido : d.imposto;
  d.valor_a_receber = base_valor - d.recebido;
  d.imposto_a_pagar = base_imposto - d.pago;
  return d;
}

// --- form decisions ---

Decimal LIMITE_PEQ_VALOR(const Ganho& g) {
  return g.acoes() ? kLimitePequenoAcoes() : kLimitePequenoOutros();
}

bool PERGUNTA_PEQ_VALOR(const Ganho& g) { return g.VAL_ALI <= LIMITE_PEQ_VALOR(g); }

void RESPOSTA_PEQ_VALOR(Ganho& g, const std::string& resposta) {
  g.PEQ_VALOR = (PERGUNTA_PEQ_VALOR(g) && resposta != "S") ? "S" : "N";
}

Unico CHECA_UNICO_IMOVEL(Ganho& g, bool unico_imovel, Date ULTIMOV) {
  if (g.TIPO_BEM != 1) return Unico::NaoSeAplica;
  if (g.VAL_ALI > kLimiteUnicoImovel()) {
    g.USU_440 = "S";
    return Unico::NaoSeAplica;
  }
  const bool titular = g.CPFALIEN.empty() || g.CPFALIEN == g.CPF;
  if (!titular) return Unico::Perguntar;
  if (!unico_imovel) return Unico::NaoSeAplica;
  if (!ULTIMOV.empty() && ULTIMOV != g.DATA_ALI &&
      g.DATA_ALI.year() - ULTIMOV.year() < kAnosCarencia) {
    g.USU_440 = "S";
    return Unico::Bloqueado;
  }
  return Unico::Perguntar;
}

Art31Decisao PODE_31(const Ganho& g, const ContextoGanho& ctx, Date ULTRESI, Decimal ganho) {
  Art31Decisao d;
  if (ctx.exterior || isencao_unico_imovel(g) || isencao_pequeno_valor(g) || ganho <= Decimal()) {
    d.estado = Art31::Indisponivel;
    return d;
  }
  if (!ULTRESI.empty() && ULTRESI != g.DATA_ALI &&
      g.DATA_ALI.year() - ULTRESI.year() < kAnosCarencia &&
      g.DATA_ALI - ULTRESI > kDiasReinvestimento) {
    d.estado = Art31::Bloqueado;
    d.mensagem = {"A lei 11.119 não pode ser usada nesse imóvel.",
                  "Esse recurso ou parte dele, só pode ser usado",
                  "a cada 5 anos. Outros poderiam serem vendidos",
                  "até " + DTOC(ULTRESI + kDiasReinvestimento) + " pois consta venda em " + DTOC(ULTRESI),
                  "Só poderá ser usado novamente no ano de " + std::to_string(ULTRESI.year() + kAnosCarencia),
                  "Confira essa informação na tela F11"};
    return d;
  }
  d.estado = Art31::Perguntar;
  return d;
}

// --- declaration totals ---

SomaSaida SOMA_NTRIB(const std::vector<Ganho>& ganhos, const SomaEntrada& in) {
  SomaSaida s;
  s.ULTRESI = in.ULTRESI;
  s.ULTIMOV = in.ULTIMOV;
  s.I13_48 = in.retido_rv_linha24;
  for (const Ganho& g : ganhos) {
    if (g.TIPO_BEM < 1 || g.TIPO_BEM > 3) continue;
    // costs
    const bool diferida = g.anterior() && sim(g.FOIDIFE);
    if (diferida && g.TIPO_BEM != 3) s.CUSTOANT += g.VAL_RECOL;
    for (const auto& c : g.custos) {
      if (c.RVAR_NRO != 0) continue;
      const bool do_ano = !c.DATA_CUST.empty() && c.DATA_CUST.year() == kAnoBase;
      if (do_ano) {
        if (g.TIPO_BEM != 3) s.CUSTOANO += c.VALOR_CUST;
        else if (c.TIPO_OPER == 3) s.CUSTOANO += (Decimal(c.MOV_ACAO) * c.CM_PONDER).round(2);
      } else if (g.TIPO_BEM != 3 && !diferida) {
        s.CUSTOANT += c.VALOR_CUST;
      }
    }
    // exempt parts
    const bool pequeno = isencao_pequeno_valor(g);
    const bool unico = isencao_unico_imovel(g);
    if (pequeno) s.I3_04GCPVC += g.VAL_NAOTRI;
    else if (unico) s.I3_04UNICC += g.VAL_NAOTRI;
    else if (g.TIPO_BEM == 1 && !g.anterior()) s.I3_04REDUC += max(g.VAL_NAOTRI, Decimal());
    s.ENTRADGP += g.VAL_RECOL;
    // taxed exclusively and tax paid
    if (g.acoes() && !g.a_prazo()) {
      if (g.VAL_TRIBU - g.IMPPAGO > Decimal())
        s.I4_02 += max(g.VAL_TRIBU - (g.IMPPAGO + g.VAL_PARTE), Decimal());
      s.I13_46 += g.IMPPAGO + g.VAL_PARTE;
    } else {
      if (!g.anterior()) s.I4_02 += max(g.VAL_TRIBU - g.IMPPAGO, Decimal());
      s.I13_46 += g.IMPPAGO;
    }
    if (g.acoes() && g.a_prazo()) s.I13_48 += g.VAL_PARTE;
    // future receipts
    if (!g.anterior() && g.VAL_RECOL < g.VAL_ALI) {
      s.VALFUTUR += g.VAL_ALI - g.VAL_RECOL;
      s.ISENTNAO += g.VAL_NAOTRI + g.GAN_TRIV - g.IMPPAGO;
    } else if (diferida) {
      s.VALFUTUR += g.VAL_DIFE - g.VAL_RECOL;
    }
    s.TOTCORRET += g.VAL_CORR;
    // five-year dates
    auto atualiza = [&](Date& ultima) {
      if (g.DATA_ALI.empty()) return;
      if (ultima.empty() || g.DATA_ALI.year() - ultima.year() >= kAnosCarencia) ultima = g.DATA_ALI;
    };
    if (g.TIPO_BEM == 1 && sim(g.USA_ART31)) atualiza(s.ULTRESI);
    if (unico) atualiza(s.ULTIMOV);
  }
  s.CUSTOANO += s.TOTCORRET;
  s.I3_04C = s.I3_04GCPVC + s.I3_04UNICC + s.I3_04REDUC;
  s.I3_04 = in.I3_04D + s.I3_04C;
  return s;
}

}  // namespace tx::tax::gain
