// The texts the program shows through MENSAGEM. Every window uses these constants instead of
// spelling a text again, so each message reads the same wherever it appears. The texts are
// the program's own and stay exactly as written, odd spacing, "\r" and spelling included.
#pragma once

#include <QString>

namespace Msg {

inline const QString RegistroJaAlocado = QStringLiteral("Registro já alocado");
inline const QString FecheJanelasAbertas =
    QStringLiteral("Feche a(s) janelas abertas no SISTEMA !");
inline const QString TemCertezaFormulariosFechados =
    QStringLiteral("Tem certeza que os formulários forão fechados ?");
inline const QString UsuarioSemAcesso = QStringLiteral("Usuário sem acesso !");
inline const QString EntreEmContato =
    QStringLiteral("Entre em contato com Assistência Técnica !\r");
inline const QString CodigoNaoCadastrado = QStringLiteral("Código não cadastrado !");
inline const QString SenhaNaoConfere = QStringLiteral("Senha não confere !");
inline const QString TabelaVazia = QStringLiteral("Tabela vazia !");
inline const QString CodigoIncorreto = QStringLiteral("Código INCORRETO !");
inline const QString DadoIncorreto = QStringLiteral("Dado INCORRETO !");
inline const QString CodigoJaCadastrado = QStringLiteral("Código já Cadastrado !");
inline const QString MatriculaJaCadastrada = QStringLiteral("Matrícula já Cadastrada !");
inline const QString MatriculaNaoCadastrada = QStringLiteral("Matrícula não Cadastrada");
inline const QString IntervaloInvalido = QStringLiteral("Intervalo Inválido !");
inline const QString MatriculaIncorreta = QStringLiteral("Matrícula INCORRETA !");
inline const QString NenhumResultadoEncontrado = QStringLiteral("Nenhum resultado encontrado !");
inline const QString DadoNaoPodeSerAlterado = QStringLiteral("Dado não pode ser alterado !");
inline const QString FimDeProcesso = QStringLiteral("Fim de Processo !");
inline const QString FecheTodasAsJanelas =
    QStringLiteral("Feche todas as janelas abertas antes de usar esta opção !");
inline const QString ImpressoraNaoEstaPronta =
    QStringLiteral("A impressora não esta pronta !\r Deseja continuar ?");
inline const QString AlunoInativo = QStringLiteral("Aluno Inativo !");
inline const QString AberturaDeTabela = QStringLiteral("Abertura de tabela !");
inline const QString GravandoNaTabela = QStringLiteral("Gravando na tabela !");
inline const QString BriscaInativo =
    QStringLiteral("Brisca não está Ativo ou \r(Problema na Rede ou não está Ativa) !\r");
inline const QString TamselInativo =
    QStringLiteral("Tamsel não está Ativo ou \r(Problema na Rede ou não está Ativa) !\r");
inline const QString DesejaEnviarEmails = QStringLiteral("Deseja Enviar e-mail(s) ?");
inline const QString GradeDaAgendaNaoMontada = QStringLiteral("Grade da Agenda não montada !");
inline const QString HorarioJaAgendado = QStringLiteral("Horário já agendado !");
inline const QString HoraJaCadastrada = QStringLiteral("Hora já cadastrada !");
inline const QString EmailEnviadoComSucesso = QStringLiteral("E-mail enviado com sucesso !");
// Said with the success when the provider offered no encryption and the messages went in clear.
inline const QString EmailSemCriptografia =
    QStringLiteral("O provedor não ofereceu conexão segura: o e-mail foi enviado sem criptografia.");
inline const QString ProblemaEmailConfiguracaoProvedor =
    QStringLiteral("Problema ao enviar e-mail ! \r Verifique configuração do seu Provedor.");
inline const QString ProblemaEmailProvedor =
    QStringLiteral("Problema ao enviar e-mail ! \r Verifique seu Provedor.");
inline const QString BackupRealizado = QStringLiteral("Backup realizado com sucesso !");
inline const QString RestoreRealizado = QStringLiteral("Restore realizado com sucesso !");
inline const QString ErroBackup = QStringLiteral("Erro ao fazer o Backup !");
inline const QString ErroRestore = QStringLiteral("Erro ao fazer o Restore !");
inline const QString ArquivoVideoIncompativel = QStringLiteral("Arquivo Video incompátivel !\r");
inline const QString ArquivoVideoInexistente = QStringLiteral("Arquivo Video inexistente !\r");
inline const QString ConfirmaEnvioEmail = QStringLiteral("Confirma envio do e-mail ?");
inline const QString ProximoDoLimite = QStringLiteral("Próximo do Limite Banco de Dados\r");
inline const QString ExcedeuDoLimite = QStringLiteral("Excedeu do Limite Banco de Dados\r");
inline const QString AtingiuLimiteMaximo = QStringLiteral("Atingiu o limite Máximo");
inline const QString AgendarAluno = QStringLiteral("Agendar Aluno(a) ?");
inline const QString AulaColetivaSemVaga = QStringLiteral("Aula Coletiva sem vaga !");
inline const QString AlunoJaAgendado = QStringLiteral("Aluno já agendado na Aula");
inline const QString AlunoNaoPertenceAtividade =
    QStringLiteral("Aluno não pertence a essa Atividade");
inline const QString AgendamentoDeAula = QStringLiteral("Agendamento de Aula");
inline const QString EmailsInvalidos = QStringLiteral("E-mail(s) inválidos !!!");
inline const QString DesejaTentarNovamente = QStringLiteral("Deseja tentar novamente ?");
inline const QString ExcluirArquivoDaLista = QStringLiteral("Excluir este arquivo da lista ?");
inline const QString ArquivoNaoEncontrado = QStringLiteral("Arquivo não encontrado !");
inline const QString EnderecoDePorta = QStringLiteral("Endereço de Porta");
inline const QString Destinatario = QStringLiteral("Destinatário");

// Details the main window puts under EntreEmContato when a standing connection fails at
// start or the workout database stops answering, and when the login finds the network gone.
inline const QString DetalheBancoRede = QStringLiteral(
    "Problema no Banco de Dados ou não está Ativo !\n\rProblema na Rede ou não está Ativa !");
inline const QString DetalheRede = QStringLiteral("Problema na Rede ou não está Ativa !");

}  // namespace Msg
