<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>A máscara de sub-rede “%1” não é um endereço IPv4.</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>A máscara de sub-rede 0.0.0.0 não pode ser usada: ela faria todo endereço pertencer à sub-rede.</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>A máscara de sub-rede 255.255.255.255 não pode ser usada: ela não deixa nenhum outro dispositivo na sub-rede, nem mesmo o gateway.</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>A máscara de sub-rede %1 não é contígua: todos os seus bits 1 devem vir primeiro.</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>O endereço “%1” não é um endereço IPv4.</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>O endereço 255.255.255.255 é o endereço de broadcast.</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>O endereço %1 não pode ser usado: endereços 0.x.x.x significam “esta rede”.</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>O endereço %1 é um endereço de loopback: o dispositivo só alcançaria a si mesmo.</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>O endereço %1 é um endereço multicast.</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>O endereço %1 é o endereço de rede da sub-rede %2.</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>O endereço %1 é o endereço de broadcast da sub-rede %2.</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>O gateway “%1” não é um endereço IPv4.</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>O gateway %1 é o próprio endereço novo.</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>O gateway %1 não é um dispositivo da sub-rede %2 do endereço novo.</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>O endereço %1 é um endereço deste computador (%2).</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>O endereço %1 já está em uso pelo dispositivo com endereço MAC %2 encontrado na última busca.</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>O endereço %1 já está em uso pelo dispositivo com endereço MAC %2.</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(nenhum informado)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>Vários dispositivos respondem em %1 (endereços MAC %2); uma alteração mudaria todos eles.</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>parte %1 de 4</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1, parte %2 de 4</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>Procurar</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Concluído</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>Selecione o NAS cujo endereço IP será alterado</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>Não foi possível alterar o endereço IP. Verifique o nome do administrador, a senha ou o formato dos parâmetros</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Sucesso</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>Usuário ou senha incorretos!</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>Não foi possível alterar o endereço IP!</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Não definido</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>Selecione “IP fixo” ou “DHCP”</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>A porta 10001 está em uso por outro programa; não é possível receber respostas.</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>Não é possível receber respostas: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>Não foi possível enviar a solicitação: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>Enviar a solicitação mesmo assim?</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>O usuário e a senha não podem ficar em branco</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Procurar</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Não definido</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>&amp;Sobre o Orbisk...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>Falha ao inicializar a porta de comunicação</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>Encontra dispositivos NAS e define seu IP.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>Definir IP</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Usuário</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Senha</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Voltar</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Endereço IP</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>Máscara de sub-rede</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>IP fixo</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>Dispositivos</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>Sobre o Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Autenticação</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nº</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versão</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Nome do host</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>Endereço MAC</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>Abrir página &amp;web</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>Abrir pastas &amp;compartilhadas</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>Copiar endereço &amp;IP</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>Copiar endereço &amp;MAC</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>Copiar &amp;linha</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>Copiar &amp;todas as linhas</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>&amp;Definir IP...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>Visto por último</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>Na lista</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>Linhas do registro que não puderam ser lidas e foram omitidas: %1.</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>Não foi possível gravar o registro: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>&quot;%1&quot; não é um endereço MAC.</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>Aguardando %1...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>Parar de aguardar</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>Despertar</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 não tem endereço MAC para despertá-lo.</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>Não foi possível enviar o pacote mágico: %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 não respondeu em %2 s.</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 está ativo em %2.</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>Esquecer %1?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>Dispositivos memori&amp;zados...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Esquecer</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>Adicionar...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>Nome (opcional)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>Dispositivos memorizados</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>Dispositivos memorizados</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Adicionar dispositivo</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>Não foi possível ler o registro de dispositivos memorizados; ele foi guardado como %1 e um novo foi iniciado.</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>Não foi possível ler o registro de dispositivos memorizados %1.</translation>
    </message>
</context>
</TS>
