<!DOCTYPE html>
<html lang="ko">
<head>
<meta charset="utf-8">
<title>회원가입</title>
<link rel="stylesheet" href="../style.css">
</head>
<body><div class="wrap">
<h1>회원가입</h1><p>데모 설치에서는 회원가입을 받지 않습니다. 데모 아이디(player/player)로 로그인해 주세요.</p>
</div></body>
</html>
