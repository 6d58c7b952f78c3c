<!DOCTYPE html>
<html lang="ko">
<head>
<meta charset="utf-8">
<title>회원가입</title>
<style>
body { font-family: "NanumGothic", "Malgun Gothic", sans-serif; margin: 0; background: #f7f7fb; color: #222; }
.wrap { padding: 12px 16px; }
h1 { font-size: 18px; margin: 0 0 8px 0; color: #1d3c8f; }
p { font-size: 13px; line-height: 1.6; margin: 4px 0; }
.ball { display: inline-block; width: 26px; height: 26px; line-height: 26px; border-radius: 13px; text-align: center;
        color: #fff; font-weight: bold; font-size: 12px; margin-right: 3px; }
.y { background: #fbc400; } .b { background: #69c8f2; } .r { background: #ff7272; } .g { background: #aaa; } .n { background: #b0d840; }
</style>
</head>
<body><div class="wrap">
<h1>회원가입</h1><p>데모 설치에서는 회원가입을 받지 않습니다. 데모 아이디(player/player)로 로그인해 주세요.</p>
</div></body>
</html>
